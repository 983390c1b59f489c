#pragma once
// TControl: the windowless control. It owns no pixels and no native window: it lives in its
// parent's list, draws through its form's surface and receives input as messages that the
// form routes to it. TGraphicControl (GraphicControl.h) adds the canvas and the Paint entry
// point.
//
// Control.cpp: tree, bounds, appearance, reading order, action and painting.
// ControlMessages.cpp: messages, mouse handling and the event methods.
#include <memory>
#include <string>

#include "framework/graphics/Canvas.h"
#include "framework/core/Component.h"
#include "framework/core/EnumNames.h"
#include "framework/core/Events.h"
#include "framework/graphics/Font.h"
#include "framework/core/Messages.h"
#include "framework/core/Types.h"
#include "framework/runtime/SizeConstraints.h"

namespace hx {

class TWinControl;
class TForm;
class TPopupMenu;
class TControlCanvas;
class TBasicAction;
class TControlActionLink;

// The value lists name the values for form descriptions (EnumNames.h).
#define HX_ALIGN_VALUES(X) X(alNone) X(alTop) X(alBottom) X(alLeft) X(alRight) X(alClient)
enum TAlign : unsigned char { HX_ALIGN_VALUES(HX_ENUM_VALUE) };
#define HX_DRAGMODE_VALUES(X) X(dmManual) X(dmAutomatic)
enum TDragMode : unsigned char { HX_DRAGMODE_VALUES(HX_ENUM_VALUE) };
enum TDragState : unsigned char { dsDragEnter, dsDragLeave, dsDragMove };

// Reading order and alignment: bdRightToLeft reads and aligns right to left (a button's
// glyph and caption swap sides), bdRightToLeftNoAlign and bdRightToLeftReadingOnly only read
// right to left.
#define HX_BIDIMODE_VALUES(X) X(bdLeftToRight) X(bdRightToLeft) X(bdRightToLeftNoAlign) X(bdRightToLeftReadingOnly)
enum TBiDiMode : unsigned char { HX_BIDIMODE_VALUES(HX_ENUM_VALUE) };

using TAnchors = unsigned;
#define HX_ANCHORKIND_VALUES(X) X(akLeft) X(akTop) X(akRight) X(akBottom)
enum : unsigned { akLeft = 1u << 0, akTop = 1u << 1, akRight = 1u << 2, akBottom = 1u << 3 };
static_assert(FlagsFollowList({HX_ANCHORKIND_VALUES(HX_ENUM_VALUE)}));

using TCursor = int;
enum : int {
    crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
    crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11,
    crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15, crMultiDrag = -16,
    crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21,
    crSizeAll = -22, crSize = -22,
};

// Control style: what the framework does for the control by itself.
using TControlStyle = unsigned;
enum : unsigned {
    csAcceptsControls = 1u << 0,
    csCaptureMouse = 1u << 1,   // a left press captures the mouse until the release
    csDesignInteractive = 1u << 2,
    csClickEvents = 1u << 3,    // press + release inside = Click(); double click = DblClick()
    csFramed = 1u << 4,
    csSetCaption = 1u << 5,     // the caption follows the name while they are equal
    csOpaque = 1u << 6,         // paints its whole rectangle: Repaint need not clear behind it
    csDoubleClicks = 1u << 7,   // receives WM_LBUTTONDBLCLK (else a second plain press)
    csFixedWidth = 1u << 8,
    csFixedHeight = 1u << 9,
    csNoDesignVisible = 1u << 10,
    csReplicatable = 1u << 11,  // may be painted as a replica into other canvases
    csNoStdEvents = 1u << 12,   // mouse methods are not called
    csDisplayDragImage = 1u << 13,
    csReflector = 1u << 14,
    csActionClient = 1u << 15,
    csMenuEvents = 1u << 16,
};
constexpr TControlStyle kDefaultControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;

// Control state: transient flags the framework keeps.
using TControlState = unsigned;
enum : unsigned {
    csLButtonDown = 1u << 0,
    csClicked = 1u << 1,        // a left press began here; the release inside clicks
    csPalette = 1u << 2,
    csReadingState = 1u << 3,
    csAlignmentNeeded = 1u << 4,
    csFocusing = 1u << 5,
    csCreating = 1u << 6,
    csPaintCopy = 1u << 7,
    csCustomPaint = 1u << 8,
};

using TDragDropEvent = TEvent<TObject*, TObject*, int, int>;
using TDragOverEvent = TEvent<TObject*, TObject*, int, int, TDragState, bool&>;
using TEndDragEvent = TEvent<TObject*, TObject*, int, int>;
using TStartDragEvent = TEvent<TObject*, TObject*&>;

// What assistive technology is told about a windowless control (the framework builds the
// toolkit's accessibility objects from it; see Accessibility.h).
enum TAccessibleRole : unsigned char { arPane, arPushButton, arStaticText, arGraphic };
struct TAccessibleInfo {
    TAccessibleRole Role = arPane;
    std::string Name;
    std::string Description;
    bool Pressable = false; // its press action does what a click does: Click()
};

// True when caption marks ch as its access key ("&x", compared without regard to case;
// "&&" is a literal ampersand).
bool IsAccel(unsigned ch, const std::string& caption);

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;
    const char* ClassName() const override { return "TControl"; }

    // --- Place in the tree --------------------------------------------------------------
    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* parent);
    // The form this control is drawn on (itself for a form); null without one.
    TForm* ParentForm() const;
    // This control as a form, or null. Every drawing operation asks for its form twice, so
    // the answer comes from the class rather than from a cast.
    virtual TForm* AsForm() const { return nullptr; }

    // --- Bounds (in the parent's client coordinates) -------------------------------------
    // Each of left, top, width and height lies within +-kMaxBoundsValue, else SetBounds
    // raises EInvalidOperation and nothing changes: far beyond any screen, and small enough
    // that sums and differences of bounds stay within int.
    static constexpr int kMaxBoundsValue = 1000000;
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int value) { SetBounds(value, FTop, FWidth, FHeight); }
    void SetTop(int value) { SetBounds(FLeft, value, FWidth, FHeight); }
    void SetWidth(int value) { SetBounds(FLeft, FTop, value, FHeight); }
    void SetHeight(int value) { SetBounds(FLeft, FTop, FWidth, value); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    // The size last asked for, before the constraints cut it: anchors stretch from it, so
    // that a parent growing and shrinking back gives the control its old size again.
    int RequestedWidth() const { return FRequestedWidth; }
    int RequestedHeight() const { return FRequestedHeight; }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    virtual TRect ClientRect() const { return Rect(0, 0, FWidth, FHeight); }
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    virtual void SetClientWidth(int value) { SetWidth(value); }
    virtual void SetClientHeight(int value) { SetHeight(value); }
    // The top-left of this control's client area in its form's client coordinates.
    TPoint FormOffset() const;
    TPoint ClientToScreen(const TPoint& p) const;
    TPoint ScreenToClient(const TPoint& p) const;
    // This control's rectangle in its form's client coordinates, clipped by every parent.
    TRect VisibleFormRect() const;

    // Every size the control takes is clamped to them (owned; SetConstraints copies).
    TSizeConstraints* Constraints() const { return FConstraints.get(); }
    void SetConstraints(TSizeConstraints* value);

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign value);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors value) { FAnchors = value; }

    // --- Appearance and state ------------------------------------------------------------
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and every parent up to a showing form is visible.
    bool IsShowing() const;
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool value);

    // --- Keyboard focus (KeyboardFocus.h) -------------------------------------------------
    // Whether the keyboard may select this control (its form's focus ring takes it in).
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value) { FTabStop = value; }
    // TabStop, enabled, on a form, and visible with every parent below the form.
    bool CanFocus() const;
    // Whether this is its form's focused control.
    bool Focused() const;
    // Focused, and the form shows focus (only once the keyboard has been used): a control
    // that draws its own face draws the focus indicator (FocusRing.h) when this is true.
    bool ShowsFocus() const;

    const std::string& Caption() const { return FText; }
    void SetCaption(const std::string& value) { SetText(value); }
    const std::string& Text() const { return FText; }
    void SetText(const std::string& value);
    void SetName(const std::string& name) override;

    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);

    // --- Reading order -------------------------------------------------------------------
    // Setting BiDiMode clears ParentBiDiMode; while ParentBiDiMode is set the control takes
    // its parent's mode and follows its changes (CM_PARENTBIDIMODECHANGED).
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode value);
    bool ParentBiDiMode() const { return FParentBiDiMode; }
    void SetParentBiDiMode(bool value);
    bool UseRightToLeftReading() const { return FBiDiMode != bdLeftToRight; }
    bool UseRightToLeftAlignment() const { return FBiDiMode == bdRightToLeft; }
    // DrawText flags for this mode: right-to-left reading added, left and right swapped
    // when the alignment is mirrored.
    unsigned DrawTextBiDiModeFlags(unsigned flags) const;

    // --- Action ----------------------------------------------------------------------------
    // Linked to an action, the control takes its Caption, Enabled, Hint and Visible (a
    // button also Checked and GroupIndex) and follows later changes; a click runs it unless
    // OnClick is assigned. Null: no action. Freeing the action leaves the control without one.
    TBasicAction* Action() const;
    void SetAction(TBasicAction* value);
    TControlActionLink* ActionLink() const { return FActionLink.get(); }

    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value) { FHint = value; }
    // With ParentShowHint set, the parent's ShowHint is the value.
    bool ShowHint() const;
    void SetShowHint(bool value);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool value);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);

    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* value);
    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode value) { FDragMode = value; }
    TCursor DragCursor() const { return FDragCursor; }
    void SetDragCursor(TCursor value) { FDragCursor = value; }
    int Tag() const { return FTag; }
    void SetTag(int value) { FTag = value; }

    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle value) { FControlStyle = value; }
    TControlState ControlState() const { return FControlState; }
    void SetControlState(TControlState value) { FControlState = value; }

    // Whether this control holds the mouse capture of its form.
    bool MouseCapture() const;
    void SetMouseCapture(bool value);

    // --- Painting ------------------------------------------------------------------------
    // Repaint later: the rectangle joins the form's invalid region; a paint pass follows.
    virtual void Invalidate();
    // Repaint now (see the form): an opaque control paints itself and every later control
    // overlapping it into the surface; any other invalidates and runs the pass at once.
    virtual void Repaint();
    // Runs the form's pending paint pass now.
    virtual void Update();
    void Refresh() { Repaint(); }
    // Draws the control into its form's surface (the paint pass and Repaint call this).
    virtual void PaintControl() {}

    // --- Messages ------------------------------------------------------------------------
    LRESULT Perform(unsigned msg, WPARAM wParam, LPARAM lParam);
    // The control's message entry: turns double clicks into plain presses for a control
    // without csDoubleClicks, then Dispatch.
    virtual void WindowProc(TMessage& message);
    // Routes a message by number; override, switch, pass the rest on.
    virtual void Dispatch(TMessage& message);
    virtual void DefaultHandler(TMessage& /*message*/) {}

    // --- Events --------------------------------------------------------------------------
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TDragDropEvent OnDragDrop;
    TDragOverEvent OnDragOver;
    TEndDragEvent OnEndDrag;
    TStartDragEvent OnStartDrag;

    void Notification(TComponent* component, TOperation operation) override;

    // Role, name (the caption), description (the hint) and whether it can be pressed.
    virtual TAccessibleInfo AccessibleInfo() const;

    // Overridable event methods; each raises its event.
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);

protected:
    // Named handlers of the default dispatch; overriding classes may call them directly.
    void WMMouseMove(TMessage& message);
    void WMLButtonDown(TMessage& message);
    void WMLButtonUp(TMessage& message);
    void WMLButtonDblClk(TMessage& message);
    void WMRButtonDown(TMessage& message);
    void WMRButtonUp(TMessage& message);
    void WMMButtonDown(TMessage& message);
    void WMMButtonUp(TMessage& message);
    void CMMouseEnter(TMessage& message);
    void CMMouseLeave(TMessage& message);
    void CMParentFontChanged(TMessage& message);
    void CMParentColorChanged(TMessage& message);
    void CMParentBiDiModeChanged(TMessage& message);

    // The link an action is tied through; a class with more to link (a button's Down)
    // returns its own kind.
    virtual std::unique_ptr<TControlActionLink> CreateActionLink();

    // Called after the size changed by (dw, dh) (a container moves its children).
    virtual void BoundsChanged(int /*dw*/, int /*dh*/) {}
    // The area of this control in its form changed: invalidate old and new places.
    void InvalidateFormRect(const TRect& formRect);
    void RequestAlign();

private:
    friend class TWinControl;
    friend class TForm;
    void FontChanged(TObject* sender);
    void ConstraintsChanged(TObject* sender);
    void DoMouseDown(TMessage& message, TMouseButton button, TShiftState extra);
    void DoMouseUp(TMessage& message, TMouseButton button);

    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    int FRequestedWidth = 0, FRequestedHeight = 0;
    std::unique_ptr<TSizeConstraints> FConstraints;
    TAlign FAlign = alNone;
    TAnchors FAnchors = akLeft | akTop;
    bool FVisible = true;
    bool FEnabled = true;
    std::string FText;
    std::unique_ptr<TFont> FFont;
    bool FParentFont = true;
    bool FTakingParentFont = false;
    TColor FColor;
    bool FParentColor = true;
    TBiDiMode FBiDiMode = bdLeftToRight;
    bool FParentBiDiMode = true;
    std::unique_ptr<TControlActionLink> FActionLink;
    std::string FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TCursor FCursor = crDefault;
    TPopupMenu* FPopupMenu = nullptr;
    TDragMode FDragMode = dmManual;
    TCursor FDragCursor = crDrag;
    int FTag = 0;
    bool FTabStop = false;
    TControlStyle FControlStyle = kDefaultControlStyle;
    TControlState FControlState = 0;
};

} // namespace hx
