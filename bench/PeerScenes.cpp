// The peer libraries drawing the benchmark scenes off-screen in their usual
// way for such data:
//   QCustomPlot  lines as QCPItemLine, circles as QCPItemEllipse (both in
//                world units), marks as a QCPGraph per colour with filled
//                7 x 7 square scatter symbols and no line;
//   Qt Charts    lines as a QLineSeries per segment (a series joins all its
//                points), circles as a QScatterSeries per colour and size,
//                marks as a QScatterSeries per colour with 7 x 7 rectangles.
// Both get the chart's size, the same data area, antialiasing off and no
// legend; a paint is a full replot (QCustomPlot) or a render of the chart
// view into an image (Qt Charts).
#include "SceneRenderer.h"

#include <QImage>
#include <QPainter>
#include <map>
#include <utility>

#ifdef IONPATH_HAVE_QCUSTOMPLOT
#include <qcustomplot.h>
#endif
#ifdef IONPATH_HAVE_QTCHARTS
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#endif

namespace {

// The clock is read after every item: adding one costs a peer far more.
constexpr int kDeadlineStride = 1;

#ifdef IONPATH_HAVE_QCUSTOMPLOT
class CustomPlotScene : public SceneRenderer {
public:
    bool Build(const Scene& scene, const SetupDeadline& deadline)
    {
        plot_.resize(kChartWidth, kChartHeight);
        plot_.setNotAntialiasedElements(QCP::aeAll);
        plot_.axisRect()->setAutoMargins(QCP::msNone);
        plot_.axisRect()->setMargins(QMargins(kDataLeft, kDataTop, kChartWidth - kDataLeft - kDataWidth,
                                              kChartHeight - kDataTop - kDataHeight));
        plot_.xAxis->setRange(0, 100);
        plot_.yAxis->setRange(0, 100);
        std::map<TColor, std::pair<QVector<double>, QVector<double>>> marks;
        int i = 0;
        for (const SceneItem& it : scene.Items) {
            if (++i % kDeadlineStride == 0 && deadline.Passed())
                return false;
            const QPen pen(ToQColor(it.Color), 1);
            switch (it.Shape) {
            case ItemShape::Line: {
                auto* line = new QCPItemLine(&plot_);
                line->start->setCoords(it.X1, it.Y1);
                line->end->setCoords(it.X2, it.Y2);
                line->setPen(pen);
                break;
            }
            case ItemShape::Circle: {
                auto* e = new QCPItemEllipse(&plot_);
                e->topLeft->setCoords(it.X1 - it.X2, it.Y1 + it.Y2);
                e->bottomRight->setCoords(it.X1 + it.X2, it.Y1 - it.Y2);
                e->setPen(pen);
                break;
            }
            case ItemShape::Mark:
                marks[it.Color].first.append(it.X1);
                marks[it.Color].second.append(it.Y1);
                break;
            }
        }
        for (auto& [color, xy] : marks) {
            QCPGraph* g = plot_.addGraph();
            g->setLineStyle(QCPGraph::lsNone);
            g->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssSquare, ToQColor(color), ToQColor(color), kMarkSize));
            g->setData(xy.first, xy.second);
        }
        plot_.show();
        return !deadline.Passed();
    }
    void Paint() override { plot_.replot(QCustomPlot::rpImmediateRefresh); }

private:
    QCustomPlot plot_;
};
#endif

#ifdef IONPATH_HAVE_QTCHARTS
class QtChartsScene : public SceneRenderer {
public:
    QtChartsScene() : chart_(new QChart), view_(new QChartView(chart_)), image_(kChartWidth, kChartHeight, QImage::Format_RGB32) {}
    ~QtChartsScene() override
    {
        // Qt Charts takes far longer to destroy a chart of thousands of
        // series than to build it (its legend relayouts once per series
        // removed). That is not what we measure, and it would stretch the
        // run by minutes, so such a scene is only hidden and left to the
        // end of the process.
        view_->hide();
        if (chart_->series().size() <= kSeriesDestroyedAtMost)
            delete view_;
    }

    bool Build(const Scene& scene, const SetupDeadline& deadline)
    {
        chart_->legend()->hide();
        chart_->setAnimationOptions(QChart::NoAnimation);
        axisX_ = new QValueAxis;
        axisY_ = new QValueAxis;
        axisX_->setRange(0, 100);
        axisY_->setRange(0, 100);
        chart_->addAxis(axisX_, Qt::AlignBottom);
        chart_->addAxis(axisY_, Qt::AlignLeft);
        view_->setRenderHint(QPainter::Antialiasing, false);
        view_->resize(kChartWidth, kChartHeight);
        chart_->setPlotArea(QRectF(kDataLeft, kDataTop, kDataWidth, kDataHeight));
        // Scatter series per colour (and per size for circles).
        std::map<std::pair<TColor, int>, QScatterSeries*> scatter;
        int i = 0;
        for (const SceneItem& it : scene.Items) {
            if (++i % kDeadlineStride == 0 && deadline.Passed())
                return false;
            const QColor color = ToQColor(it.Color);
            if (it.Shape == ItemShape::Line) {
                auto* s = new QLineSeries;
                s->append(it.X1, it.Y1);
                s->append(it.X2, it.Y2);
                s->setPen(QPen(color, 1));
                Add(s);
                continue;
            }
            const int size = it.Shape == ItemShape::Circle ? 2 * it.Radius + 1 : kMarkSize;
            QScatterSeries*& s = scatter[{it.Color, it.Shape == ItemShape::Circle ? size : -size}];
            if (!s) {
                s = new QScatterSeries;
                s->setMarkerSize(size);
                s->setPen(QPen(color, 1));
                if (it.Shape == ItemShape::Circle) {
                    s->setMarkerShape(QScatterSeries::MarkerShapeCircle);
                    s->setBrush(Qt::NoBrush);
                } else {
                    s->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
                    s->setBrush(color);
                }
            }
            s->append(it.X1, it.Y1);
        }
        for (auto& entry : scatter) {
            if (deadline.Passed())
                return false;
            Add(entry.second);
        }
        view_->show();
        return !deadline.Passed();
    }
    void Paint() override
    {
        image_.fill(Qt::white);
        QPainter p(&image_);
        view_->render(&p);
    }

private:
    void Add(QAbstractSeries* s)
    {
        chart_->addSeries(s);
        s->attachAxis(axisX_);
        s->attachAxis(axisY_);
    }

    static constexpr qsizetype kSeriesDestroyedAtMost = 1000;
    QChart* chart_;
    QChartView* view_;
    QValueAxis* axisX_ = nullptr;
    QValueAxis* axisY_ = nullptr;
    QImage image_;
};
#endif

template <typename T>
RendererFactory Factory()
{
    return [](const Scene& scene, const SetupDeadline& deadline) -> std::unique_ptr<SceneRenderer> {
        auto r = std::make_unique<T>();
        if (!r->Build(scene, deadline))
            return nullptr;
        return r;
    };
}

} // namespace

std::vector<SceneVariant> PeerVariants()
{
    std::vector<SceneVariant> peers;
#ifdef IONPATH_HAVE_QCUSTOMPLOT
    peers.push_back({"QCustomPlot", Factory<CustomPlotScene>(), true});
#endif
#ifdef IONPATH_HAVE_QTCHARTS
    peers.push_back({"QtCharts", Factory<QtChartsScene>(), true});
#endif
    return peers;
}
