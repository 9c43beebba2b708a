#include "app/EffectsPage.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

#include "app/ProportionalFrame.h"
#include "app/SmallEffectPreview.h"
#include "app/WidgetFactory.h"
#include "model/MotionFit.h"
#include "model/MotionSetting.h"
#include "model/Settings.h"

namespace app {

EffectsPage::EffectsPage(model::Show& show, QWidget* parent) : QWidget(parent), show_(show) {
    setObjectName(QStringLiteral("EffectTab"));

    auto* body = new QHBoxLayout;
    body->addLayout(CreateTreeColumn(), 3);
    body->addLayout(CreateSide(), 2);

    catalogueNote_ = Label("catalogueNote", QString());
    catalogueNote_->setWordWrap(true);
    catalogueNote_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label("selecttransition1", tr("Select transition effects:")));
    layout->addWidget(catalogueNote_);
    layout->addLayout(body, 1);

    connect(styleList_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &EffectsPage::StyleListSelectionChanged);
    for (QSpinBox* edit : {speedEdit2_, intervalEdit_, motionStrength_}) {
        connect(edit, &QSpinBox::valueChanged, this, &EffectsPage::SpeedOrIntervalChanged);
        connect(edit, &QSpinBox::valueChanged, this, &EffectsPage::Changed);
    }
    connect(motionKind_, &QComboBox::currentIndexChanged, this,
            &EffectsPage::SpeedOrIntervalChanged);
    connect(motionKind_, &QComboBox::currentIndexChanged, this, &EffectsPage::Changed);
    connect(motionFit_, &QComboBox::currentIndexChanged, this,
            &EffectsPage::SpeedOrIntervalChanged);
    connect(motionFit_, &QComboBox::currentIndexChanged, this, &EffectsPage::Changed);
}

EffectsPage::~EffectsPage() = default;

QLayout* EffectsPage::CreateTreeColumn() {
    styleList_ = Named(new QTreeView, "StyleList");
    styleList_->setModel(&effectTree_.ItemModel());
    styleList_->setHeaderHidden(true);
    styleList_->setRootIsDecorated(true);
    styleList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    styleList_->setSelectionMode(QAbstractItemView::SingleSelection);
    styleList_->setContextMenuPolicy(Qt::PreventContextMenu);
    styleList_->setMinimumSize(200, 150);

    auto* expand = Button("expandnodes1", QStringLiteral("+"), tr("Expand all"));
    auto* collapse = Button("collapsenodes1", QStringLiteral("-"), tr("Collapse all"));
    for (QPushButton* small : {expand, collapse})
        small->setMaximumWidth(small->sizeHint().height() * 2);
    auto* selectAll = Button("selectall1", tr("Select All"), tr("Use every effect"));
    auto* disableAll = Button("disableall1", tr("Disable All"), tr("Use no effect"));

    auto* tools = new QHBoxLayout;
    tools->addWidget(expand);
    tools->addWidget(collapse);
    tools->addStretch();
    tools->addWidget(selectAll);
    tools->addWidget(disableAll);

    auto* column = new QVBoxLayout;
    column->addWidget(styleList_, 1);
    column->addLayout(tools);

    // Every fill of the tree shows all effects, also one made by a project load.
    connect(&effectTree_.ItemModel(), &QAbstractItemModel::rowsInserted, styleList_,
            [this](const QModelIndex& parent, int first, int last) {
                if (parent.isValid()) return;
                for (int row = first; row <= last; ++row)
                    styleList_->expand(effectTree_.ItemModel().index(row, 0));
            });
    connect(expand, &QPushButton::clicked, styleList_, &QTreeView::expandAll);
    connect(collapse, &QPushButton::clicked, styleList_, &QTreeView::collapseAll);
    connect(selectAll, &QPushButton::clicked, this, [this] { effectTree_.SetAllChecked(true); });
    connect(disableAll, &QPushButton::clicked, this, [this] { effectTree_.SetAllChecked(false); });
    return column;
}

QLayout* EffectsPage::CreateSide() {
    fsPanel2_ =
        Named(new ProportionalFrame(144, 108), "fsPanel2", tr("Preview of the selected effect"));
    fsPanel2_->setFrameShape(QFrame::StyledPanel);
    fsPanel2_->setFrameShadow(QFrame::Sunken);
    fsPanel2_->setAutoFillBackground(true);
    QPalette black = fsPanel2_->palette();
    black.setColor(QPalette::Window, Qt::black);
    fsPanel2_->setPalette(black);

    speedEdit2_ = Named(new QSpinBox, "SpeedEdit2", tr("1 is the fastest, 5 the slowest"));
    speedEdit2_->setRange(1, 5);
    intervalEdit_ = Named(new QSpinBox, "IntervalEdit", tr("Seconds each picture stays on screen"));
    intervalEdit_->setRange(1, 10000);
    intervalEdit_->setSuffix(tr(" seconds"));
    motionKind_ =
        Named(new QComboBox, "MotionKind",
              tr("How the pictures without a motion of their own move while on screen; Auto zooms "
                 "towards the faces, or pans along a row of them, else moves towards "
                 "what stands out"));
    for (const model::MotionKindName& entry : model::kMotionKinds)
        motionKind_->addItem(tr(entry.label), static_cast<int>(entry.kind));
    motionStrength_ =
        Named(new QSpinBox, "MotionStrength",
              tr("Strength: how far the view travels, 1 = 5% of the picture, 5 = 25%"));
    motionStrength_->setRange(model::kMinMotionStrength, model::kMaxMotionStrength);
    motionFit_ = Named(new QComboBox, "MotionFit",
                       tr("How a moving picture of other proportions than the video's is shown: "
                          "cut to fill the frame, or whole on the background as a still one; Auto "
                          "shows it whole where filling would cut a face or most of the picture"));
    for (const model::NamedValue& entry : model::kMotionFitNames) {
        const auto fit = static_cast<model::MotionFit>(entry.value);
        motionFit_->addItem(tr(model::MotionFitLabel(fit)), entry.value);
    }
    customize_ = Button("customize1", tr("Customize..."),
                        tr("Give pictures their own caption, interval and effects"));

    auto* form = new QFormLayout;
    // Numbers keep the width of their digits, however wide the column grows.
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    auto* speedLabel = Label("Label3", tr("Transition speed:"));
    auto* intervalLabel = Label("Label4", tr("Seconds per picture:"));
    speedLabel->setBuddy(speedEdit2_);
    intervalLabel->setBuddy(intervalEdit_);
    auto* speedRow = new QHBoxLayout;
    speedRow->addWidget(speedEdit2_);
    speedRow->addWidget(Label("speedNote", tr("1 fast, 5 slow")));
    form->addRow(speedLabel, speedRow);
    form->addRow(intervalLabel, intervalEdit_);
    auto* motionLabel = Label("motionLabel", tr("Motion:"));
    motionLabel->setBuddy(motionKind_);
    // The strength beside the kind says what it is in its tooltip and to
    // screen readers: a label of its own would widen the column past the
    // window's smallest size.
    motionStrength_->setAccessibleName(tr("Motion strength"));
    auto* motionRow = new QHBoxLayout;
    motionRow->addWidget(motionKind_);
    motionRow->addWidget(motionStrength_);
    form->addRow(motionLabel, motionRow);
    auto* fitLabel = Label("motionFitLabel", tr("Moving pictures:"));
    fitLabel->setBuddy(motionFit_);
    form->addRow(fitLabel, motionFit_);

    auto* side = new QVBoxLayout;
    side->addWidget(fsPanel2_);
    side->addLayout(form);
    side->addWidget(customize_, 0, Qt::AlignLeft);
    side->addStretch();

    connect(customize_, &QPushButton::clicked, this, &EffectsPage::CustomizeClicked);
    return side;
}

void EffectsPage::RefreshFromSettings(const model::TslSettings& s) {
    {
        // Each edit's change handler copies both edits into the record, so
        // setting one while the other still shows the old value would undo it.
        const QSignalBlocker quietInterval(intervalEdit_);
        const QSignalBlocker quietSpeed(speedEdit2_);
        const QSignalBlocker quietKind(motionKind_);
        const QSignalBlocker quietStrength(motionStrength_);
        const QSignalBlocker quietFit(motionFit_);
        intervalEdit_->setValue(s.ImageInterval);
        speedEdit2_->setValue(s.EffectSpeed2);
        motionKind_->setCurrentIndex(
            std::max(0, motionKind_->findData(static_cast<int>(s.Motion.kind))));
        motionStrength_->setValue(s.Motion.strength);
        motionFit_->setCurrentIndex(
            std::max(0, motionFit_->findData(static_cast<int>(s.MotionFit))));
    }
    SpeedOrIntervalChanged();
}

void EffectsPage::CollectSettings(model::TslSettings& s) const {
    s.EffectSpeed2 = speedEdit2_->value();
    s.ImageInterval = intervalEdit_->value();
    s.Motion =
        model::MotionSetting{static_cast<model::MotionKind>(motionKind_->currentData().toInt()),
                             motionStrength_->value()};
    s.MotionFit = static_cast<model::MotionFit>(motionFit_->currentData().toInt());
}

void EffectsPage::BuildEffectTree() {
    model::BuildEffectTree(effectTree_, show_.settings.useeffects);
    // An empty tree would otherwise look like a program without effects.
    const bool empty = effectTree_.NodeCount() == 0;
    if (empty)
        catalogueNote_->setText(
            tr("No effects to choose from: the effect catalogue \"%1\" is missing or lists none.")
                .arg(QString::fromStdString(model::CatalogueStore().FileName())));
    catalogueNote_->setVisible(empty);
    // The tree may have been filled before (a project load fills it at once),
    // so the preview takes the first enabled effect of that fill.
    StartMiniPreview(effectTree_.FirstStyle());
}

}  // namespace app
