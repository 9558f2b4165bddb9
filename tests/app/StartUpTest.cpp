// The program's start as a user meets it: the About box first, the
// simulation after it, and the end with a report when the library is
// missing. The real windows are driven from a timer while the program's own
// loop runs.
#include "app/AboutBox.h"
#include "app/ErrorReport.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "chart/RChart.h"
#include "dialogs/MessageDialog.h"
#include "dialogs/MessageForm.h"
#include "host/DemonClient.h"
#include "i18n/Lexifer2000.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

QString Shipped(const char* name)
{
    return QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../../data/") + QLatin1String(name));
}

// Steps run one after the other, each when the one before it has answered
// true; the program is ended with status 99 if the steps are not through
// after 30 s, so that a fault shows as a failure and not as a hang.
class TScript {
public:
    explicit TScript(std::vector<std::function<bool()>> steps)
        : steps_(std::move(steps))
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
        timer_.start(10);
        QTimer::singleShot(30000, &timer_, [] { QCoreApplication::exit(99); });
    }
    bool Done() const { return next_ == steps_.size(); }

private:
    void Tick()
    {
        if (busy_ || Done())
            return;
        busy_ = true; // a step may open a modal loop that ticks again
        if (steps_[next_]())
            ++next_;
        busy_ = false;
    }
    std::vector<std::function<bool()>> steps_;
    size_t next_ = 0;
    bool busy_ = false;
    QTimer timer_;
};

TfrmExample* MainWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<TfrmExample*>(w))
            return m;
    return nullptr;
}

template <class T>
T* Modal()
{
    return qobject_cast<T*>(QApplication::activeModalWidget());
}

// Runs the program in a working folder of its own.
struct TWorkingFolder {
    QTemporaryDir dir;
    QString old = QDir::currentPath();
    explicit TWorkingFolder(bool withLibrary)
    {
        if (withLibrary)
            QFile::copy(Shipped("ms_spec_sample.tra"), dir.filePath(QStringLiteral("ms_spec_sample.tra")));
        QDir::setCurrent(dir.path());
    }
    ~TWorkingFolder() { QDir::setCurrent(old); }
};

TApplication& App() { return *static_cast<TApplication*>(QCoreApplication::instance()); }

} // namespace

TEST(StartUp, MissingLibraryIsReportedOnceAndEndsTheProgram)
{
    TWorkingFolder folder(false);
    int reports = 0;
    bool listEmptyDuringReport = false, pictureEmptyDuringReport = false;
    QString message, title;
    TScript script({
        [] {
            if (auto* about = Modal<TFrmAbout>()) {
                about->BButOK->click();
                return true;
            }
            return false;
        },
        [&] {
            auto* form = Modal<TMessageForm>();
            if (!form)
                return false;
            ++reports;
            title = form->windowTitle();
            if (auto* text = form->findChild<QLabel*>(QStringLiteral("Message")))
                message = text->text();
            listEmptyDuringReport = MainWindow()->spectrumbox->count() == 0;
            pictureEmptyDuringReport = MainWindow()->RChart1->ItemCount() == 0;
            form->DefaultButton()->click();
            return true;
        },
        [&] {
            if (Modal<TMessageForm>())
                ++reports; // a second report would be a fault
            return false;
        },
    });
    const int status = RunIonpath(App());

    EXPECT_NE(status, 0);
    EXPECT_NE(status, 99) << "the program did not end after the report";
    EXPECT_EQ(reports, 1);
    // No translation file is beside the test program: the dialog speaks the
    // English of the message it carries.
    EXPECT_EQ(title, QStringLiteral("Error"));
    // The test program has no parameters of its own: the file is named.
    EXPECT_EQ(message, QStringLiteral("No file \"ms_spec_sample.tra\" found in the Database"));
    EXPECT_TRUE(listEmptyDuringReport);
    EXPECT_TRUE(pictureEmptyDuringReport);
}

// The report of the missing library is the first dialog a learner may see;
// its title and button are in the language of the window's translation file.
TEST(StartUp, TheDialogsSpeakTheLanguageOfTheTranslationInUse)
{
    const struct {
        const char* file;
        const char* title;
        const char* button;
        const char* confirmation;
        const char* message; // the report itself, with the file's name
    } cases[] = {
        {"ionpath.itl", "Error", "OK", "Confirm", "No file \"ms_spec_sample.tra\" found in the Database"},
        {"ionpath.de.itl", "Fehler", "OK", "Best\u00e4tigung", "Keine Datei \"ms_spec_sample.tra\" in der Datenbank gefunden"},
        {"ionpath.fr.itl", "Erreur", "OK", "Confirmation",
         "Aucun fichier \u00ab ms_spec_sample.tra \u00bb trouv\u00e9 dans la base de donn\u00e9es"},
        {"ionpath.es.itl", "Error", "Aceptar", "Confirmaci\u00f3n",
         "No se encontr\u00f3 ning\u00fan archivo \"ms_spec_sample.tra\" en la base de datos"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        // A language left from before must not decide.
        MessageDialogLanguage = 255;
        TWorkingFolder folder(false);
        QString title, button, confirmation, message;
        TScript script({
            [&] {
                auto* about = Modal<TFrmAbout>();
                if (!about)
                    return false;
                // The window's table, as if the program had found this file
                // beside itself.
                QFile table(Shipped(c.file));
                if (table.open(QIODevice::ReadOnly))
                    MainWindow()->Lexifer().LoadFromStream(table);
                else
                    ADD_FAILURE() << "cannot read " << c.file;
                about->BButOK->click();
                return true;
            },
            [&] {
                auto* form = Modal<TMessageForm>();
                if (!form)
                    return false;
                title = form->windowTitle();
                button = form->DefaultButton()->text();
                if (auto* text = form->findChild<QLabel*>(QStringLiteral("Message")))
                    message = text->text();
                // Any later dialog of the run speaks the same language.
                confirmation = BuildMessageDialog(QStringLiteral("?"), dkConfirmation, {dbYes, dbNo})->windowTitle();
                form->DefaultButton()->click();
                return true;
            },
        });
        const int status = RunIonpath(App());
        EXPECT_TRUE(script.Done());
        EXPECT_NE(status, 99);
        EXPECT_EQ(title.toStdString(), c.title);
        EXPECT_EQ(button.toStdString(), c.button);
        EXPECT_EQ(confirmation.toStdString(), c.confirmation);
        EXPECT_EQ(message.toStdString(), c.message);
    }
    MessageDialogLanguage = MessageDialogEnglish;
}

TEST(StartUp, TheMessageNamesTheClientsFirstParameterOrTheLibraryFile)
{
    const struct {
        QStringList arguments;
        const char* name;
    } cases[] = {
        {{QStringLiteral("/opt/ionpath/ionpath")}, "ms_spec_sample.tra"},
        {{QStringLiteral("ionpath"), QStringLiteral("data.tra")}, "data.tra"},
        {{QStringLiteral("ionpath"), QStringLiteral("a.tra"), QStringLiteral("b.tra")}, "a.tra"},
        // The host's handle is not a parameter of the program.
        {{QStringLiteral("ionpath"), QStringLiteral("/serverhandle=00ab"), QStringLiteral("data.tra")}, "data.tra"},
        {{QStringLiteral("ionpath"), QStringLiteral("/serverhandle=00ab")}, "ms_spec_sample.tra"},
    };
    for (const auto& c : cases) {
        QWidget owner;
        auto* client = new TkdbDemonClient(&owner, {QStringLiteral("/opt/ionpath/ionpath"), c.arguments, QStringLiteral("Ionpath")});
        EXPECT_EQ(TfrmExample::LibraryNameForMessage(*client), QLatin1String(c.name)) << c.arguments.join(u' ').toStdString();
    }
}

TEST(StartUp, AboutBoxFirstThenTheSimulationOnceAndTheStartTextsAgainLater)
{
    TWorkingFolder folder(true);
    bool waitedForTheBox = false, startedAfterTheBox = false, notRepeated = false, sameTexts = false;
    QString description, version;
    int items = 0;
    TScript script({
        [&] {
            auto* about = Modal<TFrmAbout>();
            if (!about)
                return false;
            // The simulation has not started while the notice is up.
            waitedForTheBox = MainWindow()->spectrumbox->count() == 0 && MainWindow()->RChart1->ItemCount() == 0;
            description = about->LblDescription->text();
            version = about->LblVersion->text();
            about->BButOK->click();
            return true;
        },
        [&] {
            TfrmExample* w = MainWindow();
            if (Modal<QWidget>() || w->spectrumbox->count() == 0)
                return false;
            startedAfterTheBox = w->RChart1->ItemCount() > 0;
            // A state the start-up steps would reset if they ran again.
            w->spectrumbox->setCurrentIndex(1);
            w->TBMagnetic->setValue(700);
            items = w->RChart2->ItemCount();
            QEvent activate(QEvent::WindowActivate);
            QCoreApplication::sendEvent(w, &activate);
            // Another table now: the box must still show the start's texts.
            QFile german(Shipped("ionpath.de.itl"));
            if (german.open(QIODevice::ReadOnly))
                w->Lexifer().LoadFromStream(german);
            // Clicked from the loop: the box's modal loop must not run inside this step.
            QTimer::singleShot(0, w->SBAbout, [w] { w->SBAbout->click(); });
            return true;
        },
        [&] {
            auto* about = Modal<TFrmAbout>();
            if (!about)
                return false;
            sameTexts = about->LblDescription->text() == description && about->LblVersion->text() == version;
            about->BButOK->click();
            return true;
        },
        [&] {
            TfrmExample* w = MainWindow();
            if (Modal<QWidget>())
                return false;
            notRepeated = w->spectrumbox->currentIndex() == 1 && w->TBMagnetic->value() == 700
                          && w->RChart2->ItemCount() == items;
            w->close();
            return true;
        },
    });
    const int status = RunIonpath(App());

    EXPECT_EQ(status, 0);
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(waitedForTheBox);
    EXPECT_TRUE(startedAfterTheBox);
    EXPECT_FALSE(description.isEmpty());
    EXPECT_TRUE(sameTexts);
    EXPECT_TRUE(notRepeated);
}
