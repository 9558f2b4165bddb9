#pragma once
// How the message dialog measures text.
//
// The layout asks these three questions only, so that it can be computed (and
// checked) without a window; the dialog answers them from its font.

#include <QFont>
#include <QFontMetrics>
#include <QSize>
#include <QString>

class TDialogTextMetrics {
public:
    virtual ~TDialogTextMetrics() = default;
    // Width and height of text on one line, every character taking its room.
    virtual QSize Extent(const QString& text) const = 0;
    // Width of a button caption on one line; an "&" marks the accelerator and
    // takes no room ("&&" stands for one "&").
    virtual int CaptionWidth(const QString& caption) const = 0;
    // Size of text broken at word boundaries into lines no wider than width
    // (wider only where one word is), with tabs expanded and line breaks kept.
    virtual QSize WrappedSize(const QString& text, int width) const = 0;
};

// The text flags the message is both measured and drawn with, so that the
// label shows exactly the lines the layout made room for.
inline constexpr int MessageTextFlags = Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs;

class TFontTextMetrics final : public TDialogTextMetrics {
public:
    explicit TFontTextMetrics(const QFont& font) : metrics_(font) {}
    QSize Extent(const QString& text) const override;
    int CaptionWidth(const QString& caption) const override;
    QSize WrappedSize(const QString& text, int width) const override;

private:
    QFontMetrics metrics_;
};
