#include "app/HelpWindow.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QUrl>
#include <QVBoxLayout>

#include "app/UserDialogs.h"
#include "model/Settings.h"

namespace app {

QString ManualFileName() {
    return QString::fromStdString(model::ProgramDir()) + QStringLiteral("help/manual.md");
}

QString HeadingAnchor(const QString& heading) {
    QString anchor;
    for (const QChar c : heading.trimmed().toLower()) {
        if (c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_'))
            anchor += c;
        else if (c.isSpace())
            anchor += QLatin1Char('-');
    }
    return anchor;
}

void AnchorHeadings(QTextDocument& document) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0) continue;
        QTextCursor cursor(block);
        cursor.select(QTextCursor::BlockUnderCursor);
        QTextCharFormat format;
        format.setAnchor(true);
        format.setAnchorNames({HeadingAnchor(block.text())});
        cursor.mergeCharFormat(format);
    }
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(tr("Vanto Slideshow Help"));

    browser_ = new QTextBrowser;
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    // The manual is one page: its own links move to a heading of it (the
    // browser would load the page again and lose the headings' anchors);
    // anything else goes to the desktop.
    browser_->setOpenLinks(false);
    // A click hands over the link resolved against the page ("file:...
    // manual.md#heading"), so the page's own are told by their document.
    connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        const QUrl target = browser_->source().resolved(link);
        const QUrl page = browser_->source().adjusted(QUrl::RemoveFragment);
        if (target.hasFragment() && target.adjusted(QUrl::RemoveFragment) == page)
            browser_->scrollToAnchor(target.fragment());
        else
            Dialogs().OpenUrl(target);
    });

    auto* contents = new QPushButton(tr("&Contents"));
    contents->setObjectName(QStringLiteral("HelpContents"));
    auto* close = new QPushButton(tr("Close"));
    connect(contents, &QPushButton::clicked, this, &HelpWindow::ShowContents);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(browser_, &QTextBrowser::sourceChanged, this,
            [this] { AnchorHeadings(*browser_->document()); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser_, 1);
    layout->addLayout(buttons);
    resize(760, 620);
}

void HelpWindow::Load() {
    const QString fileName = ManualFileName();
    loaded_ = QFileInfo(fileName).isFile();
    if (!loaded_) {
        browser_->setMarkdown(
            tr("# The manual is missing\n\nIt is looked for as \"%1\". Reinstalling the program "
               "puts it back.")
                .arg(fileName));
        return;
    }
    browser_->setSource(QUrl::fromLocalFile(fileName), QTextDocument::MarkdownResource);
}

void HelpWindow::ShowContents() {
    if (!loaded_) Load();
    if (loaded_ && browser_->source() != QUrl::fromLocalFile(ManualFileName()))
        browser_->setSource(QUrl::fromLocalFile(ManualFileName()), QTextDocument::MarkdownResource);
    browser_->verticalScrollBar()->setValue(0);
    show();
    raise();
    activateWindow();
}

}  // namespace app
