#pragma once
// TForm: a top-level window holding windowless controls. It owns a private native window and
// a surface, a 32-bit image of its client area that stands for the screen: controls draw
// into the surface, and the window shows the surface 1:1. The form routes input to its
// controls and runs the paint pass that repaints its invalid region.
//
// Tests drive a form without a display: MouseInput, KeyDown and KeyChar stand for the
// window's input, PointerTracker().Track() for the idle-time pointer tracking, SurfacePixel
// reads what is on the screen.
//
// Form.cpp: lifecycle, bounds, the window and input routing. FormPaint.cpp: the surface,
// invalid region and paint pass. FormKeyboard.cpp: key routing and the focused control.
// FormDisplay: the high-resolution display image.
#include <cstdint>
#include <memory>
#include <string>

#include "framework/core/EnumNames.h"
#include "framework/graphics/Bitmap.h"
#include "framework/core/Keys.h"
#include "framework/runtime/WinControl.h"

namespace hx {

// The value lists name the values for form descriptions (EnumNames.h).
#define HX_FORMBORDERSTYLE_VALUES(X) \
    X(bsNone) X(bsSingle) X(bsSizeable) X(bsDialog) X(bsToolWindow) X(bsSizeToolWin)
enum TFormBorderStyle : unsigned char { HX_FORMBORDERSTYLE_VALUES(HX_ENUM_VALUE) };
#define HX_FORMSTYLE_VALUES(X) X(fsNormal) X(fsMDIChild) X(fsMDIForm) X(fsStayOnTop)
enum TFormStyle : unsigned char { HX_FORMSTYLE_VALUES(HX_ENUM_VALUE) };

// What a mouse input to the form is.
enum TMouseInputKind : unsigned char { miMove, miDown, miUp, miDoubleClick };

struct TFormImpl; // the native window and the surface (implementation only)
struct TBitmapText;

// Where the surface's pixels are: row 0 of the image, words per row, size.
struct TSurfaceView {
    std::uint32_t* Bits = nullptr;
    int StrideWords = 0;
    int Width = 0;
    int Height = 0;
};

class TForm : public TWinControl {
public:
    TForm* AsForm() const override { return const_cast<TForm*>(this); }

    // The widest or tallest client area a form takes: beyond any screen, small enough that
    // its surface (4 bytes a pixel) stays within 256 MiB.
    static constexpr int kMaxClientExtent = 8192;

    // Builds the form with its (hidden) window and surface; a derived form reads its
    // description in its own constructor. OnCreate runs later, in AfterConstruction.
    explicit TForm(TComponent* owner);
    ~TForm() override;
    const char* ClassName() const override { return "TForm"; }

    // Runs OnCreate once the constructors have finished (CreateForm calls it). An error in
    // the handler is reported by the application and the form stays usable.
    virtual void AfterConstruction();

    // --- Window ----------------------------------------------------------------------------
    // Left/Top: the window's outer top-left corner on the screen. Width/Height and
    // ClientWidth/ClientHeight: the client area (the frame belongs to the window manager),
    // each at most kMaxClientExtent pixels (larger values are cut to it).
    void SetBounds(int left, int top, int width, int height) override;
    void SetVisible(bool value) override;
    // SetVisible(true) (Show) shows the window and raises it.
    bool Showing() const override;
    // Asks to close: OnClose decides the action (default hide; the main form ends the
    // application). An error in OnClose leaves the window open and reaches the caller.
    void Close();

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    TFormStyle FormStyle() const { return FFormStyle; }
    // fsStayOnTop makes the window topmost, fsNormal ordinary; applied to a live window at
    // once, keeping its position.
    void SetFormStyle(TFormStyle value);
    // Where the screen's client area of this window begins.
    TPoint ClientOrigin() const;
    // The window's icon (and the application's, for its other windows and the taskbar).
    // A transparent bitmap leaves its transparent colour out.
    void SetIcon(const TBitmap& image);

    // Design metrics kept for the form description.
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int value) { FPixelsPerInch = value; }
    int TextHeight() const { return FTextHeight; }
    void SetTextHeight(int value) { FTextHeight = value; }
    bool OldCreateOrder() const { return FOldCreateOrder; }
    void SetOldCreateOrder(bool value) { FOldCreateOrder = value; }

    TNotifyEvent OnCreate;
    TCloseEvent OnClose;
    TNotifyEvent OnDestroy;

    // --- Surface and painting ----------------------------------------------------------------
    // Adds r (client coordinates) to the invalid region and asks for a paint pass.
    void InvalidateRect(const TRect& r);
    void Invalidate() override;
    // Runs the pending paint pass now: the invalid region is filled with Color, then every
    // visible control that meets it paints, in creation order, clipped to its part of it.
    void Update() override;
    // The region still waiting for a paint pass (its bounding rectangle; empty when none).
    TRect InvalidRect() const;
    // Paints control, and every later control overlapping it, into the surface now.
    void PaintControlNow(TControl* control);
    // One pixel of the surface as a TColor (0x00BBGGRR); -1 outside the client area.
    TColor SurfacePixel(int x, int y) const;
    int PaintPassCount() const { return FPaintPassCount; }

    // --- Input (what the window's events turn into) --------------------------------------------
    // A mouse event at client point (x, y): routed to the control under it (or the control
    // holding the capture, or the form) as a WM_ mouse message. A right release opens the
    // PopupMenu of the control under the pointer, else of its parents.
    void MouseInput(TMouseInputKind kind, TMouseButton button, int x, int y, TShiftState shift);
    // A typed character: sent as CM_DIALOGCHAR to the controls until one takes it.
    void KeyChar(unsigned ch);
    // The pointer's state across forms (capture, the control under it, the hint) and its
    // idle-time tracking are the pointer tracker's (PointerTracker.h).
    TCursor WindowCursor() const { return FWindowCursor; }

    // --- Keyboard (FormKeyboard.cpp) --------------------------------------------------------
    // A key press (repeat: the key is held and the system repeats it). Returns whether it
    // was used; the window passes an unused printable key on to KeyChar.
    bool KeyDown(unsigned key, TShiftState shift, bool repeat = false);
    // The control the keyboard is on; null at first and once it leaves the form.
    TControl* ActiveControl() const { return FActiveControl; }
    // Focuses control (null: none), repainting both and telling assistive technology.
    void SetActiveControl(TControl* control);
    // Whether the focused control shows it: set by the first key press, never by the pointer.
    bool FocusCues() const { return FFocusCues; }
    // Sees every key first; setting the key to 0 keeps it from the form's own handling.
    TKeyEvent OnKeyDown;
    // Framework-private: control leaves the form (with everything inside it).
    void ControlRemoved(const TControl* control);

    // Framework-private: the native window side and the surface.
    TFormImpl& Impl() const { return *FImpl; }
    const TSurfaceView& Surface() const { return FSurface; }
    // Framework-private: the clip the canvas of control draws within (image coordinates).
    TRect CanvasClip(const TControl* control) const;
    // Framework-private: the canvas of a control touched r (image coordinates).
    void SurfaceChanged(const TRect& r);
    // Framework-private: a control's canvas draws text (see TCanvas::TextBegin/TextDrawn).
    void SurfaceTextBegin(const TRect& limit);
    void SurfaceTextDrawn(const TTextDrawing& drawing);
    // Framework-private: a bitmap holding text (TBitmapText) was copied 1:1 with its
    // top-left at (dx, dy) of the surface, within clip.
    void SurfaceTextCopied(const TBitmapText& text, int dx, int dy, const TRect& clip);

    // --- High resolution ---------------------------------------------------------------------
    // On a screen with a device pixel ratio above 1 the window shows a display image of the
    // surface scaled by that ratio: every surface pixel a solid block (no smoothing), text
    // drawn again at the display's resolution. The surface stays in logical pixels. The
    // window follows its screen's ratio by itself; tests set one.
    void SetDisplayScale(double ratio);
    double DisplayScale() const;
    // One pixel of the display image (0x00BBGGRR); -1 outside it or at ratio 1.
    TColor DisplayPixel(int x, int y) const;
    void ApplyCursor(TCursor cursor);

    void Dispatch(TMessage& message) override;

protected:
    virtual void DoCreate();
    virtual void DoClose(TCloseAction& action);

private:
    void ApplyWindowFlags();
    void ResizeSurface();
    void PaintPass();
    void FlushLater(const TRect& r);
    void PaintChildren(TWinControl* container, const TRect& region);
    void PaintOne(TControl* control, const TRect& clip);
    void OpenContextMenu(TControl* control, int x, int y);
    bool KeyToActiveControl(unsigned key, TShiftState shift, bool repeat);
    void ShowFocusCues();

    std::unique_ptr<TFormImpl> FImpl;
    TSurfaceView FSurface;
    bool FDestroying = false;
    TFormBorderStyle FBorderStyle = bsSizeable;
    TFormStyle FFormStyle = fsNormal;
    int FPixelsPerInch = 96;
    int FTextHeight = 13;
    bool FOldCreateOrder = false;
    int FPaintPassCount = 0;
    TCursor FWindowCursor = crDefault;
    TControl* FActiveControl = nullptr;
    bool FFocusCues = false;
};

// The form a control is drawn on (the control itself when it is a form), or null.
TForm* GetParentForm(const TControl* control);

// The control under a screen point: the showing form whose client area holds it, then its
// (last-created, visible) control at that point, disabled ones too when allowDisabled, else
// the form itself. Null when no form is there.
TControl* FindDragTarget(const TPoint& screenPos, bool allowDisabled);

} // namespace hx
