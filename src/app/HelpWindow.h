// The user manual inside the program: the Markdown manual shipped beside the
// executable (help/manual.md, the same text the code-hosting site shows from
// docs/), rendered with its pictures, its table of contents working as links.
#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;
class QTextDocument;

namespace app {

// ProgramDir() + "help/manual.md".
QString ManualFileName();

// The anchor a heading gets on the code-hosting site, so the manual's
// "#the-images-step" links work in both: lower case, spaces as hyphens,
// punctuation other than hyphens and underscores dropped.
QString HeadingAnchor(const QString& heading);

// Gives every heading of a Markdown-rendered document its site anchor.
void AnchorHeadings(QTextDocument& document);

class HelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the manual from the top (loading it the first time), raised
    // above the main window.
    void ShowContents();

    QTextBrowser& Browser() { return *browser_; }

private:
    void Load();

    QTextBrowser* browser_ = nullptr;
    bool loaded_ = false;
};

}  // namespace app
