// TRChart: the display list, its adders and the sharing of one list between
// charts.
#include "chart/RChart.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <cmath>

std::function<void(const QString&)>& TRChart::SharingErrorPresenter()
{
    static std::function<void(const QString&)> presenter = [](const QString& message) {
        QMessageBox box(QMessageBox::Information, QCoreApplication::applicationName(), message,
                        QMessageBox::Ok);
        box.exec();
    };
    return presenter;
}

void TRChart::SetAllocSize(int v)
{
    if (v >= 1 && v <= 1000000)
        allocSize_ = v;
}

void TRChart::SetClassDefault(int v)
{
    if (v >= 0 && v <= 254)
        classDefault_ = std::uint8_t(v);
}

void TRChart::SetActiveLayer(int layer)
{
    activeLayer_ = ClampLayer(layer);
}

void TRChart::SetLayerVisible(int layer, bool v)
{
    if (layer >= 1 && layer <= kLayerCount)
        layerVisible_[size_t(layer)] = v;
}

TChartItem& TRChart::NewItem(TItemKind kind)
{
    TChartItem& it = store_->Append(allocSize_, kind);
    it.Layer = activeLayer_;
    it.ItemClass = classDefault_;
    it.Color = dataColor_;
    it.PenStyle = penStyle_;
    it.Tag = itemTag_;
    it.LineWidth = lineWidth_;
    return it;
}

// Every chart of a group holds the same store, so the list, its count, the
// first new item and the kind counters travel together; what is left is to
// tell the others nothing needs copying.
void TRChart::Propagate()
{
    if (useDataOf_) {
        useDataOf_->store_ = store_;
        for (int i = 0; i < useDataOf_->dataUserCount_; ++i)
            useDataOf_->dataUsers_[size_t(i)]->store_ = store_;
    }
    for (int i = 0; i < dataUserCount_; ++i)
        dataUsers_[size_t(i)]->store_ = store_;
}

void TRChart::AddLine(double x1, double y1, double x2, double y2)
{
    TChartItem& it = NewItem(ikLine);
    it.X1 = x1;
    it.Y1 = y1;
    it.X2 = x2;
    it.Y2 = y2;
    Propagate();
}

void TRChart::AddEllipse(double cx, double cy, double rx, double ry)
{
    TChartItem& it = NewItem(ikEllipse);
    it.X1 = cx;
    it.Y1 = cy;
    it.X2 = rx;
    it.Y2 = ry;
    it.FillColor = fillColor_;
    it.Transparent = transparentFill_;
    Propagate();
}

void TRChart::AddMark(double x, double y, int markType)
{
    TChartItem& it = NewItem(ikMark);
    it.X1 = x;
    it.Y1 = y;
    it.MarkType = std::uint8_t(markType);
    Propagate();
}

void TRChart::AddMoveTo(double x, double y)
{
    TChartItem& it = NewItem(ikMoveTo);
    it.X1 = x;
    it.Y1 = y;
    Propagate();
}

void TRChart::AddDrawTo(double x, double y)
{
    TChartItem& it = NewItem(ikDrawTo);
    it.X1 = x;
    it.Y1 = y;
    Propagate();
}

void TRChart::AddMoveRel(double dx, double dy)
{
    TChartItem& it = NewItem(ikMoveRel);
    it.X1 = dx;
    it.Y1 = dy;
    Propagate();
}

void TRChart::AddDrawRel(double dx, double dy)
{
    TChartItem& it = NewItem(ikDrawRel);
    it.X1 = dx;
    it.Y1 = dy;
    Propagate();
}

void TRChart::AddRectangle(double x1, double y1, double x2, double y2)
{
    TChartItem& it = NewItem(ikRectangle);
    it.X1 = x1;
    it.Y1 = y1;
    it.X2 = x2;
    it.Y2 = y2;
    it.FillColor = fillColor_;
    it.Transparent = transparentFill_;
    Propagate();
}

void TRChart::AddFramedBox(double x1, double y1, double x2, double y2, TFrameStyle style, TColor dark,
                           TColor light)
{
    TChartItem& it = NewItem(ikFramedBox);
    it.X1 = x1;
    it.Y1 = y1;
    it.X2 = x2;
    it.Y2 = y2;
    it.FillColor = fillColor_;
    it.FrameStyle = style;
    it.FrameDarkColor = dark;
    it.FrameLightColor = light;
    Propagate();
}

void TRChart::AddBar3D(double x1, double y1, double x2, double y2, int angle, int depth)
{
    TChartItem& it = NewItem(ikBar3D);
    it.X1 = x1;
    it.Y1 = y1;
    it.X2 = x2;
    it.Y2 = y2;
    it.FillColor = fillColor_;
    it.Size = angle;
    it.Depth = depth;
    Propagate();
}

void TRChart::AddText(double x, double y, int size, const QString& text)
{
    TChartItem& it = NewItem(ikText);
    it.X1 = x;
    it.Y1 = y;
    it.Size = size;
    it.SetText(text);
    Propagate();
}

void TRChart::AddArrow(double x1, double y1, double x2, double y2, int headLength)
{
    TChartItem& it = NewItem(ikArrow);
    it.X1 = x1;
    it.Y1 = y1;
    it.X2 = x2;
    it.Y2 = y2;
    it.FillColor = fillColor_;
    it.Transparent = transparentFill_;
    it.Size = headLength;
    Propagate();
}

void TRChart::ClearItems()
{
    DrawDataBackground(data_);
    store_->Clear();
    Propagate();
}

void TRChart::RequestRepaint()
{
    if (autoRedraw_)
        RenderChart();
}

void TRChart::ShowItems()
{
    if (isVisible()) {
        store_->NewItemsFrom = store_->ItemCount - 1;
        Propagate();
        if (autoRedraw_ && PicturesMatchScreen()) {
            // Only the data area changed: rebuild it and copy it into the
            // window with the cross-hairs. (On a screen of another pixel
            // ratio the whole chart is drawn anew.)
            DrawDataBackground(data_);
            DrawData(data_);
            PresentWithCrossHairs(g_.MarginLeft, g_.MarginTop, data_);
        } else {
            RenderChart();
        }
    }
    if (useDataOf_) {
        useDataOf_->RequestRepaint();
        for (int i = 0; i < useDataOf_->dataUserCount_; ++i)
            if (useDataOf_->dataUsers_[size_t(i)] != this)
                useDataOf_->dataUsers_[size_t(i)]->RequestRepaint();
    }
    for (int i = 0; i < dataUserCount_; ++i)
        dataUsers_[size_t(i)]->RequestRepaint();
}

void TRChart::DetachFromMaster()
{
    TRChart* master = useDataOf_;
    int k = 0;
    while (k < master->dataUserCount_ && master->dataUsers_[size_t(k)] != this)
        ++k;
    if (k < master->dataUserCount_) {
        for (int i = k; i + 1 < master->dataUserCount_; ++i)
            master->dataUsers_[size_t(i)] = master->dataUsers_[size_t(i + 1)];
        master->dataUsers_[size_t(master->dataUserCount_ - 1)] = nullptr;
        --master->dataUserCount_;
    }
    // A chart that leaves keeps the items as they stand as its own list.
    store_ = std::make_shared<TItemStore>(*store_);
    useDataOf_ = nullptr;
}

void TRChart::SetUseDataOf(TRChart* chart)
{
    if (chart == this) {
        SharingErrorPresenter()(QStringLiteral("RChart: Cannot share data with myself"));
        return;
    }
    if (dataUserCount_ > 0) {
        SharingErrorPresenter()(
            QStringLiteral("RChart: Cannot use foreign data. Other RCharts are using my own data."));
        return;
    }
    if (chart == useDataOf_)
        return;
    if (!chart) {
        DetachFromMaster();
        RequestRepaint();
        return;
    }
    TRChart* master = chart->useDataOf_ ? chart->useDataOf_ : chart;
    if (master->dataUserCount_ >= kMaxDataUsers) {
        SharingErrorPresenter()(QStringLiteral("RChart: Max. number of data shares exceeded"));
        return;
    }
    if (useDataOf_)
        DetachFromMaster();
    useDataOf_ = master;
    store_ = master->store_;
    master->dataUsers_[size_t(master->dataUserCount_++)] = this;
    RequestRepaint();
}
