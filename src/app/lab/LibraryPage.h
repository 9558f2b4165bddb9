#pragma once
// The Library page of the Laboratory: the user's own substances, spectra
// imported from other collections' files (MassBank, MSP, JCAMP-DX) with a
// line per file on what became of it, and a substance taken out again.

#include "app/lab/LaboratoryTexts.h"

#include <QWidget>
#include <functional>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class TInstrumentLink;

class TLibraryPage : public QWidget {
    Q_OBJECT
public:
    TLibraryPage(TInstrumentLink& instrument, TTranslate translate, QWidget* parent = nullptr);

    QListWidget* Substances() const { return substances_; }
    QPushButton* ImportButton() const { return import_; }
    QPushButton* RemoveButton() const { return remove_; }
    QPlainTextEdit* Summary() const { return summary_; }

    // Imports the files and shows the summary.
    void Import(const QStringList& paths);
    // Takes the chosen substance out of the library.
    void RemoveChosen();

    // Asks for the files to import ("Import spectra..."); tests replace it.
    std::function<QStringList(QWidget* parent, const QString& title, const QString& filter)> ChooseFiles;

private:
    void ListSubstances();
    QString Tr(const QString& key, const QStringList& args = {}) const { return translate_(key, args); }

    TInstrumentLink& instrument_;
    TTranslate translate_;
    QLabel* where_ = nullptr;
    QListWidget* substances_ = nullptr;
    QPushButton* import_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPlainTextEdit* summary_ = nullptr;
};
