#include "app/lab/LibraryPage.h"

#include "app/InstrumentLink.h"
#include "app/lab/PageParts.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

TLibraryPage::TLibraryPage(TInstrumentLink& instrument, TTranslate translate, QWidget* parent)
    : QWidget(parent), instrument_(instrument), translate_(std::move(translate))
{
    setObjectName(QStringLiteral("LibraryPage"));
    ChooseFiles = [](QWidget* parent, const QString& title, const QString& filter) {
        return QFileDialog::getOpenFileNames(parent, title, QString(), filter);
    };
    where_ = MakeNote(this);
    auto* listLabel = new QLabel(Tr(QStringLiteral("Your &substances:")), this);
    substances_ = new QListWidget(this);
    substances_->setObjectName(QStringLiteral("UserSubstances"));
    substances_->setAccessibleName(Tr(QStringLiteral("Your substances")));
    listLabel->setBuddy(substances_);
    import_ = new QPushButton(Tr(QStringLiteral("&Import spectra...")), this);
    import_->setObjectName(QStringLiteral("ImportSpectra"));
    import_->setToolTip(Tr(QStringLiteral("Spectra from MassBank records, MSP text or JCAMP-DX files into your library")));
    remove_ = new QPushButton(Tr(QStringLiteral("&Remove")), this);
    remove_->setObjectName(QStringLiteral("RemoveSubstance"));
    remove_->setToolTip(Tr(QStringLiteral("Takes the chosen substance out of your library")));
    auto* summaryLabel = new QLabel(Tr(QStringLiteral("What the last import did:")), this);
    summary_ = new QPlainTextEdit(this);
    summary_->setObjectName(QStringLiteral("ImportSummary"));
    summary_->setReadOnly(true);
    summary_->setAccessibleName(Tr(QStringLiteral("What the last import did")));
    summary_->setTabChangesFocus(true);
    summaryLabel->setBuddy(summary_);

    auto* layout = new QGridLayout(this);
    layout->addWidget(where_, 0, 0, 1, 2);
    layout->addWidget(listLabel, 1, 0);
    layout->addWidget(substances_, 2, 0, 3, 1);
    layout->addWidget(import_, 2, 1);
    layout->addWidget(remove_, 3, 1);
    layout->addWidget(summaryLabel, 5, 0, 1, 2);
    layout->addWidget(summary_, 6, 0, 1, 2);
    layout->setRowStretch(4, 1);
    layout->setRowStretch(6, 1);
    layout->setColumnStretch(0, 1);

    connect(import_, &QPushButton::clicked, this, [this] {
        const QStringList paths = ChooseFiles(this, Tr(QStringLiteral("Import spectra")),
                                              Tr(QStringLiteral("Spectra (*.txt *.msp *.jdx *.dx *.jcamp);;All files (*)")));
        if (!paths.isEmpty())
            Import(paths);
    });
    connect(remove_, &QPushButton::clicked, this, [this] { RemoveChosen(); });
    connect(substances_, &QListWidget::currentRowChanged, this,
            [this](int row) { remove_->setEnabled(instrument_.HasUserLibrary() && row >= 0); });
    connect(&instrument_, &TInstrumentLink::UserLibraryChanged, this, [this] { ListSubstances(); });

    const bool has = instrument_.HasUserLibrary();
    where_->setText(has ? Tr(QStringLiteral("Spectra you add or import are kept in your own library and listed after the shipped substances."))
                        : Tr(QStringLiteral("The program runs without your own spectrum library.")));
    import_->setEnabled(has);
    ListSubstances();
}

void TLibraryPage::ListSubstances()
{
    substances_->clear();
    substances_->addItems(instrument_.UserSubstanceNames());
    remove_->setEnabled(instrument_.HasUserLibrary() && substances_->currentRow() >= 0);
}

void TLibraryPage::Import(const QStringList& paths)
{
    const TImportReport report = instrument_.ImportSpectra(paths);
    QStringList lines = report.Lines;
    if (report.Written)
        lines.append(Tr(QStringLiteral("<%1%> imported, <%2%> already in the library, <%3%> refused."),
                        {QString::number(report.Imported), QString::number(report.AlreadyThere),
                         QString::number(report.Refused)}));
    else
        lines.append(Tr(QStringLiteral("Nothing was imported.")));
    summary_->setPlainText(lines.join(QLatin1Char('\n')));
}

void TLibraryPage::RemoveChosen()
{
    const QListWidgetItem* item = substances_->currentItem();
    if (!item)
        return;
    const QString name = item->text();
    QString error;
    if (instrument_.RemoveUserSubstance(name, &error))
        summary_->setPlainText(Tr(QStringLiteral("\"<%1%>\" was taken out of your library."), {name}));
    else
        summary_->setPlainText(Tr(QStringLiteral("\"<%1%>\" could not be taken out: <%2%>"), {name, error}));
}
