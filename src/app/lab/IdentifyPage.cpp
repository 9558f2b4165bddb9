#include "app/lab/IdentifyPage.h"

#include "app/FieldScan.h"
#include "app/InstrumentLink.h"
#include "app/lab/PageParts.h"
#include "chart/RChart.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kCandidates = 10;

double HeaviestMass(const std::vector<TSpectralLine>& lines)
{
    double m = 0;
    for (const TSpectralLine& l : lines)
        m = std::max(m, l.Mass);
    return m;
}

} // namespace

TIdentifyPage::TIdentifyPage(TInstrumentLink& instrument, TTranslate translate, QWidget* parent)
    : QWidget(parent), instrument_(instrument), translate_(std::move(translate))
{
    setObjectName(QStringLiteral("IdentifyPage"));
    identify_ = new QPushButton(Tr(QStringLiteral("&Identify")), this);
    identify_->setObjectName(QStringLiteral("IdentifyButton"));
    identify_->setToolTip(Tr(QStringLiteral("Compares the recorded spectrum with every substance of the library")));
    note_ = MakeNote(this);
    candidates_ = MakeTable(this,
                            {Tr(QStringLiteral("Rank")), Tr(QStringLiteral("Substance")),
                             Tr(QStringLiteral("Score (0 to 999)"))},
                            Tr(QStringLiteral("Best candidates")));
    candidates_->setObjectName(QStringLiteral("Candidates"));
    candidates_->setSelectionMode(QAbstractItemView::SingleSelection);
    candidates_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    candidates_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);

    mirror_ = MakeStickChart(this, QStringLiteral("MirrorChart"), QSize(520, 300), QMargins(34, 20, 8, 20),
                             Tr(QStringLiteral("The recorded spectrum above, the chosen candidate's below, pointing down")));

    reveal_ = new QPushButton(Tr(QStringLiteral("&Reveal")), this);
    reveal_->setObjectName(QStringLiteral("RevealButton"));
    reveal_->setToolTip(Tr(QStringLiteral("Names the sample")));
    reveal_->setVisible(instrument_.InExercise());
    revealed_ = MakeNote(this, QStringLiteral("Revealed"));

    auto* top = new QHBoxLayout;
    top->addWidget(identify_);
    top->addWidget(note_, 1);
    auto* left = new QVBoxLayout;
    left->addLayout(top);
    left->addWidget(candidates_, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(reveal_);
    bottom->addWidget(revealed_, 1);
    left->addLayout(bottom);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addWidget(mirror_, 0, Qt::AlignTop);

    connect(identify_, &QPushButton::clicked, this, [this] { Identify(); });
    connect(reveal_, &QPushButton::clicked, this, [this] { Reveal(); });
    connect(candidates_, &QTableWidget::currentCellChanged, this, [this](int row) { ShowCandidate(row); });
    connect(&instrument_, &TInstrumentLink::SubstanceChanged, this, [this] { Clear(); });
    connect(&instrument_, &TInstrumentLink::SpectrumChanged, this, [this] { Clear(); });
    Clear();
}

void TIdentifyPage::Clear()
{
    found_.clear();
    recorded_.clear();
    candidates_->setRowCount(0);
    revealed_->clear();
    const bool any = !instrument_.RecordedLines().empty();
    identify_->setEnabled(any);
    note_->setText(any ? Tr(QStringLiteral("Which substance was scanned? Identify compares its spectrum with the library."))
                       : Tr(QStringLiteral("Record a spectrum with Start Scan first.")));
    DrawMirror(nullptr);
}

void TIdentifyPage::Identify()
{
    recorded_ = DistinctSticks(instrument_.RecordedLines());
    library_ = instrument_.LibrarySpectra();
    const TLibrarySearch search(library_);
    found_ = search.Search(recorded_, kCandidates);
    std::vector<QStringList> rows;
    for (int r = 0; r < int(found_.size()); ++r) {
        const TSearchCandidate& c = found_[size_t(r)];
        rows.push_back({QString::number(r + 1), library_[size_t(c.Index)].Name, QString::number(int(std::lround(c.Score)))});
    }
    FillTable(*candidates_, rows, 1);
    note_->setText(found_.empty() ? Tr(QStringLiteral("No substance of the library shares a line with this spectrum."))
                                  : Tr(QStringLiteral("The <%1%> best of <%2%> substances; choose one to compare."),
                                       {QString::number(found_.size()), QString::number(library_.size())}));
    if (!found_.empty())
        candidates_->setCurrentCell(0, 1);
    else
        DrawMirror(nullptr);
}

void TIdentifyPage::ShowCandidate(int row)
{
    if (row < 0 || row >= int(found_.size())) {
        DrawMirror(nullptr);
        return;
    }
    candidateName_ = library_[size_t(found_[size_t(row)].Index)].Name;
    DrawMirror(&library_[size_t(found_[size_t(row)].Index)].Lines);
}

void TIdentifyPage::DrawMirror(const std::vector<TSpectralLine>* candidate)
{
    mirror_->SetSuppressPaint(true);
    mirror_->ClearItems();
    const double heaviest = std::max(HeaviestMass(recorded_), candidate ? HeaviestMass(*candidate) : 0.0);
    mirror_->SetLayerRange(1, 0, std::max(10.0, std::trunc(heaviest) + 10), -100, 100);
    mirror_->SetDataColor(clGray);
    mirror_->AddLine(0, 0, std::max(10.0, std::trunc(heaviest) + 10), 0);
    mirror_->SetLineWidth(2);
    mirror_->SetDataColor(clNavy);
    for (const TSpectralLine& l : recorded_)
        mirror_->AddLine(l.Mass, 0, l.Mass, l.Abundance);
    if (candidate) {
        mirror_->SetDataColor(clMaroon);
        for (const TSpectralLine& l : *candidate)
            mirror_->AddLine(l.Mass, 0, l.Mass, -l.Abundance);
    }
    mirror_->SetLineWidth(1);
    // Which half is which, at the left of each.
    const auto label = [this](int n, int y, TColor color, const QString& text) {
        TTextLabel* l = mirror_->TextLabel(n);
        l->SetAttachToData(tlamNone);
        l->SetPosX(mirror_->MarginLeft() + 6);
        l->SetPosY(y);
        l->SetAlignment(taLeftJustify);
        l->SetVerticalAlignment(vaTop);
        l->SetTransparent(true);
        l->SetColorBorder(color);
        l->SetCaption(text);
        l->SetMode(tlsimple);
        l->SetVisible(!text.isEmpty());
    };
    label(1, mirror_->MarginTop() + 4, clNavy, recorded_.empty() ? QString() : Tr(QStringLiteral("Recorded")));
    label(2, mirror_->height() - mirror_->MarginBottom() - 20, clMaroon,
          candidate ? candidateName_ : QString());
    mirror_->SetSuppressPaint(false);
    mirror_->ShowItems();
}

void TIdentifyPage::Reveal()
{
    revealed_->setText(Tr(QStringLiteral("\"<%1%>\" is <%2%>."), {instrument_.SubstanceName(), instrument_.RevealedName()}));
}
