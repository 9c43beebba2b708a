// The slideshow screen as a widget: shows one picture on a background and
// moves to the next through a transition of paced steps.
//
// The widget paints its whole area itself from the composed client image
// (PaintBuffer), so transitions do not flicker; only the part of the
// picture that a frame changed is repainted. Transitions are stepped by a
// TAnimateThread (Threaded), by a loop on the calling thread, or by the host
// writing Progress (Manual). All state belongs to the user-interface thread.
#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "imaging/ScreenPreparation.h"
#include "screen/ScreenEngine.h"

class QMouseEvent;

namespace screen {

class TAnimateThread;

enum TAlign { alNone, alClient };

class TCustomVantoscreen : public QWidget, public ScreenEngine {
    Q_OBJECT

public:
    using MouseEvent = std::function<void(TCustomVantoscreen& Sender, QMouseEvent* event)>;

    explicit TCustomVantoscreen(QWidget* parent = nullptr);
    // Never waits for a running animation thread: it is detached and winds
    // down on its own.
    ~TCustomVantoscreen() override;

    // alClient keeps the screen filling its parent; AutoSize then leaves
    // the size alone.
    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);

    void SetTransparentMode(bool value);
    void SetTransparentColor(Color color);

    // The thread of the running transition, or nullptr.
    TAnimateThread* AnimateThread() const { return thread_; }

    // Loads a picture file into 'picture', flattening pictures that may be
    // transparent onto the screen's colour. Throws imaging::PictureError.
    void LoadPictureFile(Bitmap& picture, const std::string& fileName);
    // Loads a picture file into Picture and prepares it for showing: fitted
    // by SizeMode, composed onto the frame background, padded so the coming
    // transition covers the previous picture. Never throws; on failure the
    // screen keeps the picture it holds.
    void LoadFromFile(const std::string& fileName);
    // Where the next loads cut a picture larger than the screen (actual
    // size): around its subject, or (nullopt) around its centre.
    std::optional<imaging::CutAim> CutAim;

    NotifyEvent OnMouseEnter;
    NotifyEvent OnMouseLeave;
    MouseEvent OnMouseMove;
    MouseEvent OnMouseDown;
    MouseEvent OnMouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    void InvalidateControl() override;
    void InvalidateClientRect(const Rect& r) override;
    bool CanAutoSize() const override { return align_ == alNone; }
    void RequestClientSize(int width, int height) override;
    void UpdateClientSize() override;
    bool StartThread() override;
    void AskThreadToTerminate() override;
    void ForgetThread() override;
    void ApplyThreadPriority() override;
    void ProcessMessages() override;

private:
    void FollowParent();

    TAlign align_ = alNone;
    TAnimateThread* thread_ = nullptr;
};

// The screen with its properties and events published; adds nothing.
class TVantoscreen : public TCustomVantoscreen {
    Q_OBJECT

public:
    using TCustomVantoscreen::TCustomVantoscreen;
};

}  // namespace screen
