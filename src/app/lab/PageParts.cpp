#include "app/lab/PageParts.h"

#include "chart/RChart.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

QLabel* MakeNote(QWidget* parent, const QString& objectName)
{
    auto* l = new QLabel(parent);
    if (!objectName.isEmpty())
        l->setObjectName(objectName);
    l->setWordWrap(true);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return l;
}

QTableWidget* MakeTable(QWidget* parent, const QStringList& headers, const QString& accessibleName)
{
    auto* t = new QTableWidget(0, int(headers.size()), parent);
    t->setHorizontalHeaderLabels(headers);
    t->verticalHeader()->setVisible(false);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    t->setAccessibleName(accessibleName);
    return t;
}

void FillTable(QTableWidget& table, const std::vector<QStringList>& rows, int textColumn)
{
    table.setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r)
        for (int c = 0; c < int(rows[size_t(r)].size()) && c < table.columnCount(); ++c) {
            auto* item = new QTableWidgetItem(rows[size_t(r)][c]);
            item->setTextAlignment((c == textColumn ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
            table.setItem(r, c, item);
        }
}

TRChart* MakeStickChart(QWidget* parent, const QString& objectName, QSize size, QMargins margins,
                        const QString& accessibleName)
{
    auto* c = new TRChart(parent);
    c->setObjectName(objectName);
    c->SetMarginLeft(margins.left());
    c->SetMarginRight(margins.right());
    c->SetMarginTop(margins.top());
    c->SetMarginBottom(margins.bottom());
    c->SetControlBounds(0, 0, size.width(), size.height());
    c->setFixedSize(size);
    c->SetLayerRange(1, 0, 100, 0, 100);
    c->Scale1X()->SetVisible(true);
    c->Scale1Y()->SetVisible(true);
    c->Scale1X()->SetDecPlaces(0); // masses and percentages in whole numbers
    c->Scale1Y()->SetDecPlaces(0);
    c->SetAutoRedraw(false);
    c->Loaded();
    c->setAccessibleName(accessibleName);
    return c;
}
