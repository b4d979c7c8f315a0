#pragma once
// Roots of the library's controls: the window-less (graphic) bases with
// image-list link, mouse enter and exit, bounds-change notification,
// transparency and an owned bevel; and the windowed custom control with its
// background protocol, panels framed by a bevel and the status-bar base.

#include <QEvent>
#include <QMetaObject>
#include <functional>
#include <memory>

#include "components/kitclass.h"
#include "components/kitcont.h"
#include "components/kitgraph.h"
#include "platform/controls.h"

// The library's private control messages, delivered as events of these types.
constexpr QEvent::Type CM_KITTRANSPARENTCHANGED = QEvent::Type(0xB0CD);
constexpr QEvent::Type CM_KITBACKCHANGED = QEvent::Type(0xB0CE);
constexpr QEvent::Type CM_KITFOCUSGAINED = QEvent::Type(0xB0CF);
constexpr QEvent::Type CM_KITFOCUSLOST = QEvent::Type(0xB0D0);
constexpr QEvent::Type CM_KITBEVELCHANGED = QEvent::Type(0xB0D1);

// Window style bits a library control asks for when its window is made.
constexpr unsigned WS_BORDER = 0x00800000;
constexpr unsigned WS_CLIPCHILDREN = 0x02000000;
constexpr unsigned WS_EX_CLIENTEDGE = 0x00000200;

enum TKitBoundsChange : std::uint8_t { bcSizeChanged, bcPositionChanged };
using TKitBoundsChanges = TKitSet<TKitBoundsChange>;
using TKitBoundsChangeEvent = std::function<void(TObject* Sender, TKitBoundsChanges Change)>;

// Sends one of the library's messages to a widget at once.
void KitSendMessage(QWidget* target, QEvent::Type message);

// The component state that form data and the designer give a control.
class TKitControlState {
public:
    bool IsLoading() const { return m_loading; }
    bool IsDesigning() const { return m_designing; }
    void SetDesigning(bool v) { m_designing = v; }
    void BeginLoading() { m_loading = true; }
    // Ends reading the control's form data and runs Loaded.
    void EndLoading()
    {
        m_loading = false;
        Loaded();
    }
    virtual ~TKitControlState() = default;

protected:
    virtual void Loaded() {}

private:
    bool m_loading = false;
    bool m_designing = false;
};

// A control's link to an image list: registered with the list so that the
// list's changes reach the control, and dropped when the list goes away.
class TKitImageListLink {
public:
    explicit TKitImageListLink(std::function<void(TObject*)> listChanged);
    ~TKitImageListLink();
    TKitImageListLink(const TKitImageListLink&) = delete;
    TKitImageListLink& operator=(const TKitImageListLink&) = delete;

    TKitCustomImageList* List() const { return m_list; }
    // Unregisters from the old list and registers with the new one; the
    // control is told of the change in either case.
    void Set(TKitCustomImageList* list);
    // True when the list is one of the global container's and is stored as
    // the "Internal" reference instead of a component reference.
    bool StoresInternal() const { return IsGlobalImageList(m_list); }
    void WriteInternal(TStream& writer) const { WriteGlobalListRef(writer, m_list); }
    void ReadInternal(TStream& reader) { Set(ReadGlobalListRef(reader)); }

private:
    void attach(TKitCustomImageList* list);
    std::function<void(TObject*)> m_changed;
    TKitChangeLink m_link;
    TKitCustomImageList* m_list = nullptr;
    QMetaObject::Connection m_destroyed;
};

// ---------------------------------------------------------------- graphic

class TKitBaseControl : public TGraphicControl, public TKitControlState {
    Q_OBJECT
public:
    explicit TKitBaseControl(QWidget* parent = nullptr);
    ~TKitBaseControl() override;

    TKitAboutVar About;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseExit;
    TKitBoundsChangeEvent OnBoundsChange;

    TKitCustomImageList* ImageList() const { return m_imageList.List(); }
    void SetImageList(TKitCustomImageList* list);
    TKitImageListLink& ImageListLink() { return m_imageList; }

    void SetBounds(int left, int top, int width, int height) override;

    virtual void BoundsChanged(TKitBoundsChanges change);
    virtual bool UsesParentBackground() const { return false; }
    virtual void ObjectChanged(TObject* Sender);
    virtual bool IsEmpty() const { return true; }
    virtual void ListChanged(TObject* Sender);
    void MouseEnter() override;
    virtual void MouseExit();

    void FillBackground();
    void DrawDesignFrame();

protected:
    void MouseLeave() override { MouseExit(); }
    bool event(QEvent* e) override;

private:
    TKitImageListLink m_imageList;
};

class TKitBaseGraphicControl : public TKitBaseControl {
    Q_OBJECT
public:
    explicit TKitBaseGraphicControl(QWidget* parent = nullptr);

    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool v);
    void RepaintNow();

    bool UsesParentBackground() const override;
    void ObjectChanged(TObject* Sender) override;

protected:
    void Paint() override;
    bool event(QEvent* e) override;

private:
    bool m_transparent = true;
};

class TKitGraphicControl : public TKitBaseGraphicControl {
    Q_OBJECT
public:
    explicit TKitGraphicControl(QWidget* parent = nullptr);
    ~TKitGraphicControl() override;

    TKitBevel* Bevel() const { return m_bevel.get(); }
    void SetBevel(const TKitBevel* value);

protected:
    void Paint() override;

private:
    std::unique_ptr<TKitBevel> m_bevel;
};

// ---------------------------------------------------------------- windowed

// Style bits of the window a control asks for.
struct TKitCreateParams {
    unsigned Style = 0;
    unsigned ExStyle = 0;
};

class TKitCustomControl : public TCustomControl, public TKitControlState {
    Q_OBJECT
public:
    explicit TKitCustomControl(QWidget* parent = nullptr);
    ~TKitCustomControl() override;

    TKitAboutVar About;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseExit;
    TNotifyEvent OnFocusGained;
    TNotifyEvent OnFocusLost;

    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool v);
    bool HotTrack() const { return m_hotTrack; }
    void SetHotTrack(bool v);
    bool RepaintOnChange = true;
    bool MouseInside() const { return m_mouseInside; }
    bool HasFocus() const { return m_hasFocus; }
    bool Ctl3D() const { return m_ctl3D; }
    void SetCtl3D(bool v);

    TKitCustomImageList* ImageList() const { return m_imageList.List(); }
    void SetImageList(TKitCustomImageList* list);
    TKitImageListLink& ImageListLink() { return m_imageList; }

    // The window's client area: inside the window edge its style asks for.
    TRect ClientRect() const override;
    // Makes the window again from CreateParams; counts how often.
    void RecreateWnd();
    int RecreateCount() const { return m_recreateCount; }
    const TKitCreateParams& WindowParams() const { return m_params; }

    virtual bool UsesParentBackground() const;
    virtual void PaintBackground();
    virtual void ObjectChanged(TObject* Sender);
    virtual bool HasNoFrame() const { return true; }
    virtual void ListChanged(TObject* Sender);
    void MouseEnter() override;
    virtual void MouseExit();
    virtual void DrawFlatFrame();
    virtual void DrawHotFrame();
    virtual TBitmap* BackgroundBitmap() const { return nullptr; }
    virtual bool IsTransparentCapable() const { return false; }
    virtual bool PaintParentBackground(TCanvas* canvas, const TRect& r, TPoint origin);
    virtual TPoint BackgroundOffset(TPoint p) const { return p; }

    void FillBackgroundRect(const TRect& r);
    void DrawDesignFrame();

protected:
    virtual void CreateParams(TKitCreateParams& params) const;
    void Paint() override;
    void DoEnter() override;
    void DoExit() override;
    void MouseLeave() override { MouseExit(); }
    bool event(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    // A frame drawn now outside the paint cycle, or with the next paint.
    bool framePainting() { return Canvas() != nullptr; }
    bool hotFrameWanted() const;
    // The graphic children, repainted with a moved or resized background.
    void repaintChildren();
    // Gives the window the style CreateParams asks for (window creation).
    void applyWindowParams();

private:
    void paintWindowEdge();

    bool m_mouseInside = false;
    bool m_hasFocus = false;
    bool m_hotTrack = false;
    bool m_transparent = false;
    bool m_ctl3D = true;
    int m_windowEdge = 0;
    int m_recreateCount = 0;
    TKitCreateParams m_params;
    TKitImageListLink m_imageList;

    friend class TKitCustomBevelPanel;
};

class TKitCustomPanel : public TKitCustomControl {
    Q_OBJECT
public:
    explicit TKitCustomPanel(QWidget* parent = nullptr);

    TBitmap* BackgroundBitmap() const override;
    bool IsTransparentCapable() const override;
    bool PaintParentBackground(TCanvas* canvas, const TRect& r, TPoint origin) override;
    TPoint BackgroundOffset(TPoint p) const override;

protected:
    TKitCustomControl* kitParent() const;
};

class TKitCustomBevelPanel : public TKitCustomPanel {
    Q_OBJECT
public:
    explicit TKitCustomBevelPanel(QWidget* parent = nullptr);
    ~TKitCustomBevelPanel() override;

    TKitBevel* Bevel() const { return m_bevel.get(); }
    void SetBevel(const TKitBevel* value);
    // The client rectangle less the bevel.
    TRect GetInnerRect() const;
    TRect AdjustClientRect() const override { return GetInnerRect(); }

    void ObjectChanged(TObject* Sender) override;
    bool HasNoFrame() const override;
    void MouseEnter() override;
    void DrawFlatFrame() override;
    void DrawHotFrame() override;

protected:
    void CreateParams(TKitCreateParams& params) const override;
    void Paint() override;
    void DoEnter() override;

private:
    std::unique_ptr<TKitBevel> m_bevel;
};

class TKitCustomStatusBar : public TKitCustomBevelPanel {
    Q_OBJECT
public:
    using TKitCustomBevelPanel::TKitCustomBevelPanel;
    // The indent a library label on the bar adds to its text's left.
    virtual int TextIndent() const { return 0; }
};
