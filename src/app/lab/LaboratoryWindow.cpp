#include "app/lab/LaboratoryWindow.h"

#include "app/lab/IdentifyPage.h"
#include "app/lab/InstrumentPage.h"
#include "app/lab/IsotopesPage.h"
#include "app/lab/LibraryPage.h"

#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

TLaboratoryWindow::TLaboratoryWindow(TInstrumentLink& instrument, TTranslate translate, QWidget* parent)
    : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("Laboratory"));
    setWindowTitle(translate(QStringLiteral("Ionpath Laboratory"), {}));
    setAccessibleName(windowTitle());
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("LaboratoryPages"));
    isotopes_ = new TIsotopesPage(instrument, translate, pages_);
    pages_->addTab(isotopes_, translate(QStringLiteral("Isotopes"), {}));
    identify_ = new TIdentifyPage(instrument, translate, pages_);
    pages_->addTab(identify_, translate(QStringLiteral("Identify"), {}));
    instrument_ = new TInstrumentPage(instrument, translate, pages_);
    pages_->addTab(instrument_, translate(QStringLiteral("Instrument"), {}));
    library_ = new TLibraryPage(instrument, translate, pages_);
    pages_->addTab(library_, translate(QStringLiteral("Library"), {}));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    // Room for the pattern's table and the scan's beside each other.
    resize(sizeHint().expandedTo(QSize(880, 620)));
    // A tool window goes away with Escape; the Laboratory button brings it back.
    auto* close = new QShortcut(QKeySequence::Cancel, this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}
