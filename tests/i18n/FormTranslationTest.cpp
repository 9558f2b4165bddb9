#include "i18n/Lexifer2000.h"

#include "chart/RChart.h"
#include "widgets/NumLab.h"

#include "../widgets/QStringPrinter.h"

#include <QBuffer>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

void Load(TLexifer2000& lex, const QByteArray& file)
{
    QByteArray data = file;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    lex.LoadFromStream(buffer);
}

const QByteArray kGerman = "[Exit]=Beenden|$$\r\n"
                           "[Button]=Knopf|$$\r\n"
                           "[A]=Eins\\nZwei|$$\r\n"
                           "[B]=Drei|$$\r\n"
                           "[Mass]=Masse|$$\r\n"
                           "[Magnetic Field]=Magnetfeld|$$\r\n"
                           "[[mT]]=[mT]|$$\r\n";

} // namespace

TEST(FormTranslation, TranslatesOnlyTextsWithTheExactPrefix)
{
    const struct {
        const char* caption;
        const char* withTable;
        const char* withoutTable;
    } cases[] = {
        {"LX_Exit", "Beenden", "Exit"},
        {"LX_EXIT", "Beenden", "EXIT"},
        {"lx_Exit", "lx_Exit", "lx_Exit"},
        {" LX_Exit", " LX_Exit", " LX_Exit"},
        {"LX_", "", ""},
        {"LX", "LX", "LX"},
        {"LX_ Exit", " Exit", " Exit"},
        {"Plain", "Plain", "Plain"},
    };
    for (bool table : {true, false}) {
        TLexifer2000 lex;
        if (table)
            Load(lex, kGerman);
        for (const auto& c : cases) {
            QLabel label(QString::fromUtf8(c.caption));
            lex.TranslateForm(&label);
            EXPECT_EQ(label.text(), QString::fromUtf8(table ? c.withTable : c.withoutTable)) << c.caption;
        }
    }
}

TEST(FormTranslation, KeepsTheComponentName)
{
    TLexifer2000 lex;
    Load(lex, kGerman);
    QPushButton button(QStringLiteral("LX_Button"));
    button.setObjectName(QStringLiteral("LX_Button"));
    lex.TranslateForm(&button);
    EXPECT_EQ(button.objectName(), QStringLiteral("LX_Button"));
    EXPECT_EQ(button.text(), QStringLiteral("Knopf"));
}

TEST(FormTranslation, WalksTheWholeOwnershipTree)
{
    TLexifer2000 lex;
    Load(lex, kGerman);
    QWidget window;
    window.setWindowTitle(QStringLiteral("LX_Exit"));
    auto* panel = new QWidget(&window);
    auto* label = new QLabel(QStringLiteral("LX_Mass"), panel);
    auto* button = new QPushButton(QStringLiteral("LX_Button"), panel);
    button->setToolTip(QStringLiteral("LX_Exit"));
    auto* num = new TNumLab(&window);
    num->SetRightText(QStringLiteral("LX_[mT]"));
    auto* combo = new QComboBox(&window);
    combo->addItems({QStringLiteral("LX_Exit"), QStringLiteral("Plain"), QStringLiteral("LX_Mass")});
    auto* tabs = new QTabWidget(&window);
    tabs->addTab(new QWidget, QStringLiteral("LX_Magnetic Field"));

    lex.TranslateForm(&window);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Beenden"));
    EXPECT_EQ(label->text(), QStringLiteral("Masse"));
    EXPECT_EQ(button->text(), QStringLiteral("Knopf"));
    EXPECT_EQ(button->toolTip(), QStringLiteral("Beenden"));
    EXPECT_EQ(num->RightText(), QStringLiteral("[mT]"));
    EXPECT_EQ(combo->itemText(0), QStringLiteral("Beenden"));
    EXPECT_EQ(combo->itemText(1), QStringLiteral("Plain"));
    EXPECT_EQ(combo->itemText(2), QStringLiteral("Masse"));
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Magnetfeld"));

    // Translated texts carry no prefix: a second walk changes nothing.
    label->setText(QStringLiteral("Exit"));
    lex.TranslateForm(&window);
    EXPECT_EQ(label->text(), QStringLiteral("Exit"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Beenden"));
}

TEST(FormTranslation, VisitsParentsBeforeChildrenInOrder)
{
    TLexifer2000 lex;
    QWidget window;
    window.setObjectName(QStringLiteral("window"));
    auto* a = new QWidget(&window);
    a->setObjectName(QStringLiteral("a"));
    (new QLabel(a))->setObjectName(QStringLiteral("a1"));
    (new QLabel(&window))->setObjectName(QStringLiteral("b"));
    QStringList order;
    lex.OnTranslateObject = [&](TLexifer2000&, QObject* obj, bool&) {
        if (!obj->objectName().isEmpty())
            order.append(obj->objectName());
    };
    lex.TranslateForm(&window);
    EXPECT_EQ(order, (QStringList{"window", "a", "a1", "b"}));
}

TEST(FormTranslation, MemoLinesLastFirstAndSplitByLineFeeds)
{
    TLexifer2000 lex;
    Load(lex, kGerman);
    QStringList asked;
    lex.OnTranslate = [&](TLexifer2000&, const QString& key, QString&) { asked.append(key); };
    QPlainTextEdit memo;
    memo.setPlainText(QStringLiteral("LX_A\nplain text\nLX_B"));
    lex.TranslateForm(&memo);
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("Eins\nZwei\nplain text\nDrei"));
    EXPECT_EQ(asked, (QStringList{"B", "A"}));
}

TEST(FormTranslation, SkipsAnObjectTheCallbackRefuses)
{
    TLexifer2000 lex;
    Load(lex, kGerman);
    QWidget window;
    auto* kept = new QLabel(QStringLiteral("LX_Exit"), &window);
    auto* inner = new QLabel(QStringLiteral("LX_Mass"), kept);
    auto* other = new QLabel(QStringLiteral("LX_Exit"), &window);
    lex.OnTranslateObject = [&](TLexifer2000&, QObject* obj, bool& doTranslate) {
        if (obj == kept)
            doTranslate = false;
    };
    lex.TranslateForm(&window);
    EXPECT_EQ(kept->text(), QStringLiteral("LX_Exit"));
    EXPECT_EQ(inner->text(), QStringLiteral("Masse")); // its children are still visited
    EXPECT_EQ(other->text(), QStringLiteral("Beenden"));
}

TEST(FormTranslation, TranslatesChartAndAxisCaptions)
{
    TLexifer2000 lex;
    Load(lex, kGerman);
    TRChart chart;
    chart.SetCaption(QStringLiteral("LX_Mass"));
    chart.Scale1X()->SetCaption(QStringLiteral("LX_Magnetic Field"));
    chart.Scale4Y()->SetCaption(QStringLiteral("LX_[mT]"));
    chart.BackGroundImg()->SetName(QStringLiteral("LX_picture.bmp"));
    // TranslateObject does not enter children, so the captions are reached
    // through the chart's scale properties.
    lex.TranslateObject(&chart);
    EXPECT_EQ(chart.Caption(), QStringLiteral("Masse"));
    EXPECT_EQ(chart.Scale1X()->Caption(), QStringLiteral("Magnetfeld"));
    EXPECT_EQ(chart.Scale4Y()->Caption(), QStringLiteral("[mT]"));
    EXPECT_EQ(chart.BackGroundImg()->Name(), QStringLiteral("LX_picture.bmp"));
}
