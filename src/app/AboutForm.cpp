#include "app/AboutForm.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Icons.h"
#include "model/Settings.h"

namespace app {

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(tr("About"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    auto* box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("GroupBox1"));

    image1_ = new QLabel(box);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setFixedSize(32, 32);

    QFont heading = font();
    heading.setBold(true);
    heading.setPixelSize(13);
    titleLabel_ = new QLabel(box);
    titleLabel_->setObjectName(QStringLiteral("titleLabel"));
    titleLabel_->setFont(heading);
    auto* version = new QLabel(tr("Version  2.0"), box);
    version->setObjectName(QStringLiteral("version1"));
    version->setFont(heading);

    manual_ = new QLabel(
        QStringLiteral("<a href=\"#manual\">%1</a>").arg(tr("The user manual (F1)")), box);
    manual_->setObjectName(QStringLiteral("manualLink"));
    manual_->setCursor(Qt::PointingHandCursor);
    manual_->setTextFormat(Qt::RichText);
    manual_->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    manual_->setOpenExternalLinks(false);
    // The help window cannot be used under a modal box.
    connect(manual_, &QLabel::linkActivated, this, [this] {
        accept();
        emit ManualWanted();
    });

    auto* ok = new QPushButton(tr("&OK"), box);
    ok->setObjectName(QStringLiteral("okB"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* grid = new QGridLayout(box);
    grid->setColumnStretch(1, 1);
    grid->setHorizontalSpacing(16);
    grid->addWidget(image1_, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(titleLabel_, 0, 1);
    grid->addWidget(version, 1, 1);
    grid->setRowMinimumHeight(2, 12);
    grid->addWidget(manual_, 3, 1);
    grid->setRowStretch(4, 1);
    grid->addWidget(ok, 5, 1, Qt::AlignRight);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    setMinimumSize(386, 210);
    RefreshContents();
}

void TAboutForm::showEvent(QShowEvent* event) {
    RefreshContents();
    QDialog::showEvent(event);
}

void TAboutForm::RefreshContents() {
    const model::ProductStrings& product = model::Product();
    titleLabel_->setText(QString::fromStdString(product.title));
    const QIcon icon = QApplication::windowIcon().isNull() ? PaintedIcon(IconKind::Program)
                                                           : QApplication::windowIcon();
    image1_->setPixmap(icon.pixmap(QSize(32, 32), devicePixelRatioF()));
}

}  // namespace app
