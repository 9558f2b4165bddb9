#pragma once
// TRChart: a chart with a display list, 16 coordinate layers with their axes,
// 30 text labels and 4 cross-hairs, painted through two off-screen pictures
// (the control picture with background, shadow, caption and axes; the data
// picture with the data-area background, grid, items, labels and frame).
//
// A mass spectrum with a cursor at m/z 28:
//
//     TRChart chart(&window);
//     chart.SetControlBounds(10, 10, 360, 240);
//     chart.SetLayerRange(1, 0, 60, 0, 100);   // layer 1: m/z 0..60, abundance 0..100 %
//     chart.Scale1X()->SetVisible(true);        // axis settings: chart/ScaleProps.h
//     chart.Scale1Y()->SetVisible(true);
//     chart.SetCaption(QStringLiteral("Carbon monoxide"));
//     chart.SetDataColor(clNavy);               // items take the current colour, pen and layer
//     for (auto [mass, abundance] : {std::pair{12.0, 3.5}, {16.0, 2.0}, {28.0, 100.0}})
//         chart.AddLine(mass, 0, mass, abundance); // appended to the display list
//     chart.CrossHair1()->SetMode(chVert);
//     chart.CrossHair1()->SetPosX(28);
//     chart.ShowItems();                        // draws the list once
//     chart.OnMouseMoveInChart = [](TRChart*, bool inside, Qt::KeyboardModifiers, double x, double y) { /* ... */ };
//
// The adders record; nothing is drawn until ShowItems (or a repaint). The
// item pass (chart/ItemPass.h) draws the list; chart/ChartExport.h saves,
// copies and prints the picture.

#include "chart/BackgroundImage.h"
#include "chart/ChartMapping.h"
#include "chart/ChartTypes.h"
#include "chart/CrossHair.h"
#include "chart/DisplayList.h"
#include "chart/JointLayers.h"
#include "chart/MousePointers.h"
#include "chart/MouseTypes.h"
#include "chart/ScaleProps.h"
#include "chart/TextExtents.h"
#include "chart/TextLabel.h"
#include "gfx/Alignment.h"
#include "gfx/Canvas.h"
#include "scale/Scale.h"

#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class TRChart;
using TCustomRChart = TRChart;
using TRenderEvent = std::function<void(TRChart* chart, Canvas& canvas, int left, int top)>;

class TRChart : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int MarginLeft READ MarginLeft WRITE SetMarginLeft)
    Q_PROPERTY(int MarginRight READ MarginRight WRITE SetMarginRight)
    Q_PROPERTY(int MarginTop READ MarginTop WRITE SetMarginTop)
    Q_PROPERTY(int MarginBottom READ MarginBottom WRITE SetMarginBottom)
    Q_PROPERTY(int LRim READ MarginLeft WRITE SetMarginLeft)
    Q_PROPERTY(int RRim READ MarginRight WRITE SetMarginRight)
    Q_PROPERTY(int TRim READ MarginTop WRITE SetMarginTop)
    Q_PROPERTY(int BRim READ MarginBottom WRITE SetMarginBottom)
    Q_PROPERTY(int ShadowWidth READ ShadowWidth WRITE SetShadowWidth)
    Q_PROPERTY(bool Isometric READ Isometric WRITE SetIsometric)
    Q_PROPERTY(TScalePropsHoriz* Scale1X READ Scale1X)
    Q_PROPERTY(TScalePropsVert* Scale1Y READ Scale1Y)
    Q_PROPERTY(TScalePropsHoriz* Scale2X READ Scale2X)
    Q_PROPERTY(TScalePropsVert* Scale2Y READ Scale2Y)
    Q_PROPERTY(TScalePropsHoriz* Scale3X READ Scale3X)
    Q_PROPERTY(TScalePropsVert* Scale3Y READ Scale3Y)
    Q_PROPERTY(TScalePropsHoriz* Scale4X READ Scale4X)
    Q_PROPERTY(TScalePropsVert* Scale4Y READ Scale4Y)
    Q_PROPERTY(TJointLayers* JointLayers READ JointLayers)
    Q_PROPERTY(bool AutoRedraw READ AutoRedraw WRITE SetAutoRedraw)
    Q_PROPERTY(uint ChartColor READ ChartColor WRITE SetChartColor)
    Q_PROPERTY(uint WindColor READ WindColor WRITE SetWindColor)
    Q_PROPERTY(uint ChartFrameColor READ ChartFrameColor WRITE SetChartFrameColor)
    Q_PROPERTY(int GridStyle READ GridStyleInt WRITE SetGridStyleInt)
    Q_PROPERTY(uint GridColor READ GridColor WRITE SetGridColor)
    Q_PROPERTY(double GridDx READ GridDx WRITE SetGridDx)
    Q_PROPERTY(double GridDy READ GridDy WRITE SetGridDy)
    Q_PROPERTY(int ShadowStyle READ ShadowStyleInt WRITE SetShadowStyleInt)
    Q_PROPERTY(uint ShadowColor READ ShadowColor WRITE SetShadowColor)
    Q_PROPERTY(uint ShadowBakColor READ ShadowBakColor WRITE SetShadowBakColor)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int CaptionPosX READ CaptionPosX WRITE SetCaptionPosX)
    Q_PROPERTY(int CaptionPosY READ CaptionPosY WRITE SetCaptionPosY)
    Q_PROPERTY(int CaptionAlignment READ CaptionAlignmentInt WRITE SetCaptionAlignmentInt)
    Q_PROPERTY(int CaptionAnchorHoriz READ CaptionAnchorHorizInt WRITE SetCaptionAnchorHorizInt)
    Q_PROPERTY(int CaptionAnchorVert READ CaptionAnchorVertInt WRITE SetCaptionAnchorVertInt)
    Q_PROPERTY(int TextFontStyle READ TextFontStyle WRITE SetTextFontStyle)
    Q_PROPERTY(int TextBkStyle READ TextBkStyleInt WRITE SetTextBkStyleInt)
    Q_PROPERTY(uint TextBkColor READ TextBkColor WRITE SetTextBkColor)
    Q_PROPERTY(int TextAlignment READ TextAlignmentInt WRITE SetTextAlignmentInt)
    Q_PROPERTY(TBakGndImg* BackGroundImg READ BackGroundImg)
    Q_PROPERTY(uint DataColor READ DataColor WRITE SetDataColor)
    Q_PROPERTY(uint FillColor READ FillColor WRITE SetFillColor)
    Q_PROPERTY(int PenStyle READ PenStyleInt WRITE SetPenStyleInt)
    Q_PROPERTY(int LineWidth READ LineWidth WRITE SetLineWidth)
    Q_PROPERTY(int ClassDefault READ ClassDefault WRITE SetClassDefault)
    Q_PROPERTY(int AllocSize READ AllocSize WRITE SetAllocSize)
    Q_PROPERTY(TCrossHair* CrossHair1 READ CrossHair1)
    Q_PROPERTY(TCrossHair* CrossHair2 READ CrossHair2)
    Q_PROPERTY(TCrossHair* CrossHair3 READ CrossHair3)
    Q_PROPERTY(TCrossHair* CrossHair4 READ CrossHair4)
    Q_PROPERTY(int MouseAction READ MouseActionInt WRITE SetMouseActionInt)
    Q_PROPERTY(bool MouseCursorFixed READ MouseCursorFixed WRITE SetMouseCursorFixed)
    Q_PROPERTY(uint MouseLayers READ MouseLayerMask WRITE SetMouseLayerMask)

public:
    explicit TRChart(QWidget* parent = nullptr);
    ~TRChart() override;

    // ---- geometry and layers ----
    int MarginLeft() const { return g_.MarginLeft; }
    int MarginRight() const { return g_.MarginRight; }
    int MarginTop() const { return g_.MarginTop; }
    int MarginBottom() const { return g_.MarginBottom; }
    int ShadowWidth() const { return g_.ShadowWidth; }
    void SetMarginLeft(int v);
    void SetMarginRight(int v);
    void SetMarginTop(int v);
    void SetMarginBottom(int v);
    void SetShadowWidth(int v);
    // Data area size in pixels (the data picture is one pixel larger each way).
    int DataWidth() const { return g_.Wd(); }
    int DataHeight() const { return g_.Hd(); }
    // Sets position and size; the size is raised to the smallest the chart accepts.
    void SetControlBounds(int left, int top, int width, int height);

    bool Isometric() const { return isometric_; }
    void SetIsometric(bool v);
    void StandardLayout(TrcLayout layout);

    TScalePropsHoriz* Scale1X() const { return scaleX_[1]; }
    TScalePropsVert* Scale1Y() const { return scaleY_[1]; }
    TScalePropsHoriz* Scale2X() const { return scaleX_[2]; }
    TScalePropsVert* Scale2Y() const { return scaleY_[2]; }
    TScalePropsHoriz* Scale3X() const { return scaleX_[3]; }
    TScalePropsVert* Scale3Y() const { return scaleY_[3]; }
    TScalePropsHoriz* Scale4X() const { return scaleX_[4]; }
    TScalePropsVert* Scale4Y() const { return scaleY_[4]; }
    // Any layer; numbers outside 1..16 answer layer 1.
    TScalePropsHoriz* ScaleX(int layer) const { return scaleX_[ValidLayerOr1(layer)]; }
    TScalePropsVert* ScaleY(int layer) const { return scaleY_[ValidLayerOr1(layer)]; }
    TScale* AxisX(int layer) const { return axisX_[ValidLayerOr1(layer)]; }
    TScale* AxisY(int layer) const { return axisY_[ValidLayerOr1(layer)]; }
    TJointLayers* JointLayers() const { return joint_; }

    void WorldToPixel(int layer, double x, double y, int& px, int& py) const;
    void PixelToWorld(int layer, int px, int py, double& x, double& y) const;
    void SetLayerRange(int layer, double xLow, double xHigh, double yLow, double yHigh);

    // Loading from a window description: nothing is computed or painted until
    // Loaded(), which also ends the scale settings' loading state.
    void BeginLoading();
    void Loaded();
    bool IsLoading() const { return loading_; }

    // ---- display list ----
    int ItemCount() const { return store_->ItemCount; }
    int Capacity() const { return store_->Capacity(); }
    const TChartItem& Item(int index) const { return store_->Items[size_t(index)]; }
    int KindCount(int kind) const { return kind >= 0 && kind < kKindCounters ? store_->KindCount[size_t(kind)] : 0; }
    int NewItemsFrom() const { return store_->NewItemsFrom; }
    int AllocSize() const { return allocSize_; }
    void SetAllocSize(int v);

    TColor DataColor() const { return dataColor_; }
    void SetDataColor(TColor v) { dataColor_ = v; }
    TColor FillColor() const { return fillColor_; }
    void SetFillColor(TColor v) { fillColor_ = v; }
    TPenStyle PenStyle() const { return penStyle_; }
    void SetPenStyle(TPenStyle v) { penStyle_ = v; }
    int LineWidth() const { return lineWidth_; }
    void SetLineWidth(int v) { lineWidth_ = std::uint8_t(v); }
    int ClassDefault() const { return classDefault_; }
    void SetClassDefault(int v);
    int ActiveLayer() const { return activeLayer_; }
    void SetActiveLayer(int layer);
    bool TransparentFill() const { return transparentFill_; }
    void SetTransparentFill(bool v) { transparentFill_ = v; }
    int ItemTag() const { return itemTag_; }
    void SetItemTag(int v) { itemTag_ = v; }
    bool ClassVisible(int itemClass) const { return classVisible_[size_t(itemClass & 0xFF)]; }
    void SetClassVisible(int itemClass, bool v) { classVisible_[size_t(itemClass & 0xFF)] = v; }
    bool LayerVisible(int layer) const { return layerVisible_[size_t(ValidLayerOr1(layer))]; }
    void SetLayerVisible(int layer, bool v);

    void AddLine(double x1, double y1, double x2, double y2);
    void AddEllipse(double cx, double cy, double rx, double ry);
    void AddMark(double x, double y, int markType);
    void AddMoveTo(double x, double y);
    void AddDrawTo(double x, double y);
    void AddMoveRel(double dx, double dy);
    void AddDrawRel(double dx, double dy);
    void AddRectangle(double x1, double y1, double x2, double y2);
    void AddFramedBox(double x1, double y1, double x2, double y2, TFrameStyle style, TColor dark, TColor light);
    void AddBar3D(double x1, double y1, double x2, double y2, int angle, int depth);
    void AddText(double x, double y, int size, const QString& text);
    void AddArrow(double x1, double y1, double x2, double y2, int headLength);
    void ClearItems();
    void ShowItems();

    bool SuppressPaint() const { return suppressPaint_; }
    void SetSuppressPaint(bool v);

    // Sharing one list between charts; errors are shown in an information box
    // and the assignment is abandoned.
    TRChart* UseDataOf() const { return useDataOf_; }
    void SetUseDataOf(TRChart* chart);
    int DataUserCount() const { return dataUserCount_; }
    TRChart* DataUser(int i) const { return i >= 0 && i < kMaxDataUsers ? dataUsers_[size_t(i)] : nullptr; }
    // Shows a sharing error; the default is an information box, tests replace it.
    static std::function<void(const QString&)>& SharingErrorPresenter();

    // ---- appearance ----
    bool AutoRedraw() const { return autoRedraw_; }
    void SetAutoRedraw(bool v) { autoRedraw_ = v; }
    TColor ChartColor() const { return chartColor_; }
    TColor WindColor() const { return windColor_; }
    TColor ChartFrameColor() const { return chartFrameColor_; }
    GridStyleType GridStyle() const { return gridStyle_; }
    TColor GridColor() const { return gridColor_; }
    double GridDx() const { return gridDx_; }
    double GridDy() const { return gridDy_; }
    TShadowStyle ShadowStyle() const { return shadowStyle_; }
    TColor ShadowColor() const { return shadowColor_; }
    TColor ShadowBakColor() const { return shadowBakColor_; }
    QString Caption() const { return caption_; }
    int CaptionPosX() const { return captionPosX_; }
    int CaptionPosY() const { return captionPosY_; }
    TAlignment CaptionAlignment() const { return captionAlignment_; }
    TCaptionAnchorHoriz CaptionAnchorHoriz() const { return captionAnchorHoriz_; }
    TCaptionAnchorVert CaptionAnchorVert() const { return captionAnchorVert_; }
    int TextFontStyle() const { return textFontStyle_; }
    TTextBkg TextBkStyle() const { return textBkStyle_; }
    TColor TextBkColor() const { return textBkColor_; }
    TAlignment TextAlignment() const { return textAlignment_; }
    TBakGndImg* BackGroundImg() const { return backGroundImg_; }
    const TFont& Font() const { return font_; }

    void SetChartColor(TColor v);
    void SetWindColor(TColor v);
    void SetChartFrameColor(TColor v);
    void SetGridStyle(GridStyleType v);
    void SetGridColor(TColor v);
    void SetGridDx(double v);
    void SetGridDy(double v);
    void SetShadowStyle(TShadowStyle v);
    void SetShadowColor(TColor v);
    void SetShadowBakColor(TColor v);
    void SetCaption(const QString& v);
    void SetCaptionPosX(int v);
    void SetCaptionPosY(int v);
    void SetCaptionAlignment(TAlignment v);
    void SetCaptionAnchorHoriz(TCaptionAnchorHoriz v);
    void SetCaptionAnchorVert(TCaptionAnchorVert v);
    void SetTextFontStyle(int v);
    void SetTextBkStyle(TTextBkg v);
    void SetTextBkColor(TColor v);
    void SetTextAlignment(TAlignment v);
    void SetFont(const TFont& v);

    TTextLabel* TextLabel(int n) const { return textLabels_[size_t(n < 1 ? 1 : n > kTextLabelCount ? kTextLabelCount : n)]; }
    TCrossHair* CrossHair(int n) const { return crossHairs_[size_t(n < 1 ? 1 : n > kCrossHairCount ? kCrossHairCount : n)]; }
    TCrossHair* CrossHair1() const { return crossHairs_[1]; }
    TCrossHair* CrossHair2() const { return crossHairs_[2]; }
    TCrossHair* CrossHair3() const { return crossHairs_[3]; }
    TCrossHair* CrossHair4() const { return crossHairs_[4]; }

    // ---- rendering ----
    void RenderChart();
    void RepaintIfAuto();
    void DrawFrameAndScales(Canvas& canvas);
    void DrawDataBackground(Canvas& canvas);
    void DrawData(Canvas& canvas);
    void PresentWithCrossHairs(int x, int y, Canvas& bitmap);
    // The picture RenderChart presents (cross-hairs included, no zoom
    // outline being dragged), made by the same passes but not presented, and
    // also while the chart is hidden or its painting suppressed: for the
    // clipboard, files and the printer. With printer set it is drawn as on a
    // printer's canvas of dpiY dots per inch: marks take their printer
    // forms and axis labels keep their point size; the chart's pictures are
    // then drawn again for the screen. Empty while the chart is loading.
    QImage RenderPicture(bool printer = false, int dpiY = 96);

    // The fast drawing paths of the item pass: direct pixel writing for the
    // common kinds, nothing done for what lies wholly outside the data
    // picture, text extents remembered. They give the very pixels that
    // drawing every item through the canvas gives; switching them off is
    // for comparing the two.
    bool FastPaths() const { return fastPaths_; }
    void SetFastPaths(bool v) { fastPaths_ = v; }

    // The picture last presented in the window, and the two off-screen ones.
    const QImage& Presented() const { return presented_; }
    const Canvas& ControlBitmap() const { return control_; }
    const Canvas& DataBitmap() const { return data_; }

    TRenderEvent OnScalesRendered;
    TRenderEvent OnBeforeRenderData;
    TRenderEvent OnDataRendered;
    TScaleTickDrawnEvent OnScaleTickDrawn;

    // ---- mouse ----
    TMouseActMode MouseAction() const { return mouse_.Action; }
    // A zoom window being dragged is dropped when the mode changes.
    void SetMouseAction(TMouseActMode v);
    // True: the chart never touches the cursor.
    bool MouseCursorFixed() const { return mouse_.CursorFixed; }
    void SetMouseCursorFixed(bool v);
    // The layers mouse zooming and panning act on (only layer 1 at first);
    // numbers outside 1..16 are ignored.
    bool MouseLayer(int layer) const { return layer >= 1 && layer <= kLayerCount && mouse_.Layers[size_t(layer)]; }
    void SetMouseLayer(int layer, bool on);
    // The same as bits: bit 0 is layer 1.
    uint MouseLayerMask() const;
    void SetMouseLayerMask(uint mask);
    // Hit test of the data area, border included (control pixels).
    bool InDataArea(int x, int y) const;
    // The pointer's last position inside the data area, world units of ActiveLayer.
    double MouseWorldX() const { return mouse_.LastX; }
    double MouseWorldY() const { return mouse_.LastY; }
    bool ZoomWindowDragging() const { return mouse_.WindowDragging; }

    TMouseMoveInChartEvent OnMouseMoveInChart;
    TChartNotifyEvent OnZoomPan;
    TCrossHairMoveEvent OnCrossHairMove;
    TTextLabelMoveEvent OnTextLabelMove;
    TChartNotifyEvent OnMouseEnter;
    TChartNotifyEvent OnMouseLeave;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void showEvent(QShowEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void wheelEvent(QWheelEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;
    void hideEvent(QHideEvent*) override;
    // A focused chart keeps the tab key (and the arrow keys) for itself.
    bool focusNextPrevChild(bool) override { return false; }

private:
    static int ValidLayerOr1(int layer) { return layer >= 1 && layer <= kLayerCount ? layer : 1; }
    static int ClampLayer(int layer) { return layer < 1 ? 1 : layer > kLayerCount ? kLayerCount : layer; }

    TChartGeometry Geometry() const;
    void RecomputeCoefficients();
    void ScalePropsChanged();
    void CopySettingsToAxes();
    void CopySettingsToAxis(int layer, bool horizontal);
    void ApplyLayerRange(int layer, double xLow, double xHigh, double yLow, double yHigh);
    void ApplyIsometric();
    void GeometryChanged();
    void SetMargin(int& margin, int v);
    bool Drawable() const;
    // Device pixels per unit the pictures are drawn with on the chart's
    // screen, and whether the pictures and the presented one have it.
    int ScreenRatio() const;
    bool PicturesMatchScreen() const;

    TChartItem& NewItem(TItemKind kind);
    void Propagate();
    void RequestRepaint();
    void DetachFromMaster();

    void DrawGrid(Canvas& c);
    void DrawItems(Canvas& c);
    void DrawTextLabels(Canvas& c);
    void DrawCrossHairs(Canvas& c, int x0, int y0);
    QPoint DataPixel(int layer, double x, double y) const; // in the data picture, clamped
    TDataPixelMapping DataPixels() const;
    QPoint TextLabelAnchor(const TTextLabel& label) const;  // in the data picture, as drawn
    void Present(const Canvas& bitmap, int x, int y);

    void InitMouse();
    void TakeDragAnchor(QPoint p);
    void DragTo(QPoint p, bool inside);
    // Gives every mouse layer the ranges newRanges asks for (it answers false
    // to leave a layer alone), repainting once, then reports OnZoomPan.
    void ChangeMouseLayerRanges(const std::function<bool(int layer, TAxisRange& x, TAxisRange& y)>& newRanges);
    void PanTo(QPoint p);
    void ZoomDragTo(QPoint p);
    void DragCrossHairTo(QPoint p);
    void DragLabelTo(QPoint p);
    void MoveZoomWindow(QPoint p);
    void FinishZoomWindow();
    void EndZoomWindow();
    void ShowZoomOutline(const QRect& r);
    void HideZoomOutline();
    void XorOnPresented(const QRect& r);
    void ShowMouseCursor(TChartCursorChoice choice);

    TChartGeometry g_;
    std::array<TScalePropsHoriz*, kLayerCount + 1> scaleX_{};
    std::array<TScalePropsVert*, kLayerCount + 1> scaleY_{};
    std::array<TScale*, kLayerCount + 1> axisX_{};
    std::array<TScale*, kLayerCount + 1> axisY_{};
    std::array<TAxisMapping, kLayerCount + 1> mapX_{};
    std::array<TAxisMapping, kLayerCount + 1> mapY_{};
    TJointLayers* joint_ = nullptr;
    bool isometric_ = false;
    double aspectX_ = 1, aspectY_ = 1;
    bool loading_ = false;
    bool inSettingsChange_ = false;

    std::shared_ptr<TItemStore> store_;
    int allocSize_ = 1000;
    TColor dataColor_ = 0;
    TColor fillColor_ = 12632256;
    TPenStyle penStyle_ = psSolid;
    std::uint8_t lineWidth_ = 1;
    std::uint8_t classDefault_ = 0;
    int activeLayer_ = 1;
    bool transparentFill_ = false;
    int itemTag_ = 0;
    std::array<bool, 256> classVisible_{};
    std::array<bool, kLayerCount + 1> layerVisible_{};
    bool suppressPaint_ = true;
    bool windowCreated_ = false;
    bool painting_ = false; // inside paintEvent: present without asking for another paint
    TRChart* useDataOf_ = nullptr;
    std::array<TRChart*, kMaxDataUsers> dataUsers_{};
    int dataUserCount_ = 0;

    bool autoRedraw_ = true;
    TColor chartColor_ = 16777215;
    TColor windColor_ = clBtnFace;
    TColor chartFrameColor_ = 0;
    GridStyleType gridStyle_ = gsNone;
    TColor gridColor_ = 0;
    double gridDx_ = 0, gridDy_ = 0;
    TShadowStyle shadowStyle_ = ssFlying;
    TColor shadowColor_ = clGrayText;
    TColor shadowBakColor_ = clBtnFace;
    QString caption_;
    int captionPosX_ = 0, captionPosY_ = -16;
    TAlignment captionAlignment_ = taRightJustify;
    TCaptionAnchorHoriz captionAnchorHoriz_ = cahChartRight;
    TCaptionAnchorVert captionAnchorVert_ = cavChartTop;
    int textFontStyle_ = 0;
    TTextBkg textBkStyle_ = tbClear;
    TColor textBkColor_ = 16777215;
    TAlignment textAlignment_ = taCenter;
    TBakGndImg* backGroundImg_ = nullptr;
    TFont font_;
    std::array<TTextLabel*, kTextLabelCount + 1> textLabels_{};
    std::array<TCrossHair*, kCrossHairCount + 1> crossHairs_{};

    Canvas control_;
    Canvas data_;
    QImage presented_;
    bool fastPaths_ = true;
    // Kept from paint to paint so that painting allocates nothing in the
    // steady state: the pending draw-to polyline, the square marks drawn
    // together with their working memory, and the text extents.
    std::vector<QPoint> drawToRun_;
    std::vector<QPoint> squareMarks_;
    std::vector<std::uint8_t> squareMarkScratch_;
    TTextExtents textExtents_;

    TChartMouseState mouse_;
    TApplicationCursor appCursor_;
    int MouseActionInt() const { return mouse_.Action; }
    void SetMouseActionInt(int v);

    int GridStyleInt() const { return gridStyle_; }
    void SetGridStyleInt(int v) { SetGridStyle(GridStyleType(v)); }
    int ShadowStyleInt() const { return shadowStyle_; }
    void SetShadowStyleInt(int v) { SetShadowStyle(TShadowStyle(v)); }
    int CaptionAlignmentInt() const { return captionAlignment_; }
    void SetCaptionAlignmentInt(int v) { SetCaptionAlignment(TAlignment(v)); }
    int CaptionAnchorHorizInt() const { return captionAnchorHoriz_; }
    void SetCaptionAnchorHorizInt(int v) { SetCaptionAnchorHoriz(TCaptionAnchorHoriz(v)); }
    int CaptionAnchorVertInt() const { return captionAnchorVert_; }
    void SetCaptionAnchorVertInt(int v) { SetCaptionAnchorVert(TCaptionAnchorVert(v)); }
    int TextBkStyleInt() const { return textBkStyle_; }
    void SetTextBkStyleInt(int v) { SetTextBkStyle(TTextBkg(v)); }
    int TextAlignmentInt() const { return textAlignment_; }
    void SetTextAlignmentInt(int v) { SetTextAlignment(TAlignment(v)); }
    int PenStyleInt() const { return penStyle_; }
    void SetPenStyleInt(int v) { SetPenStyle(TPenStyle(v)); }
};
