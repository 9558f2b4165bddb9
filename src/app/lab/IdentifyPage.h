#pragma once
// The Identify page of the Laboratory: the recorded spectrum is compared
// with every substance the program knows (analysis/LibrarySearch.h), the ten
// best candidates are listed with their scores, and the chosen one is drawn
// below the recorded spectrum, its sticks pointing down (a mirror plot), so
// that a learner sees which lines agree. In a class exercise "Reveal" names
// the sample.

#include "analysis/LibrarySearch.h"
#include "app/lab/LaboratoryTexts.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTableWidget;
class TInstrumentLink;
class TRChart;

class TIdentifyPage : public QWidget {
    Q_OBJECT
public:
    TIdentifyPage(TInstrumentLink& instrument, TTranslate translate, QWidget* parent = nullptr);

    QPushButton* IdentifyButton() const { return identify_; }
    QTableWidget* Candidates() const { return candidates_; }
    TRChart* MirrorChart() const { return mirror_; }
    QPushButton* RevealButton() const { return reveal_; }
    QLabel* Note() const { return note_; }
    QLabel* Revealed() const { return revealed_; }

    // Compares the recorded spectrum with the library (the button).
    void Identify();
    // Draws the recorded spectrum above candidate `row` of the list.
    void ShowCandidate(int row);
    // Names the sample (exercise only).
    void Reveal();

private:
    void Clear();
    void DrawMirror(const std::vector<TSpectralLine>* candidate);
    QString Tr(const QString& key, const QStringList& args = {}) const { return translate_(key, args); }

    TInstrumentLink& instrument_;
    TTranslate translate_;
    std::vector<TLibrarySpectrum> library_;  // as searched last
    std::vector<TSearchCandidate> found_;
    std::vector<TSpectralLine> recorded_;    // distinct sticks of the search
    QString candidateName_;

    QPushButton* identify_ = nullptr;
    QLabel* note_ = nullptr;
    QTableWidget* candidates_ = nullptr;
    TRChart* mirror_ = nullptr;
    QPushButton* reveal_ = nullptr;
    QLabel* revealed_ = nullptr;
};
