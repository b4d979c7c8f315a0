#pragma once
// Paints the background of the form that owns it: by its own fill object
// (colour, picture, list picture or a gradient kept in a client-size cache),
// or by the owner's drawing handler.

#include <functional>
#include <memory>

#include "components/kitclass.h"
#include "components/kitcont.h"
#include "components/kitgraph.h"

class QPainter;

enum TKitPaintMode : std::uint8_t { pcNone, pcControl, pcOwnerDraw };
using TKitPaintEvent = std::function<void(TObject* Sender, TCanvas* aCanvas, TRect Dest)>;

class TKitCustomFormFill : public TKitWndProcComponent {
    Q_OBJECT
public:
    explicit TKitCustomFormFill(QObject* AOwner = nullptr);
    ~TKitCustomFormFill() override;

    TKitCustomImageList* ImageList() const { return m_imageList; }
    void SetImageList(TKitCustomImageList* v);
    int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int v);
    int ListIndex() const { return m_listIndex; }
    void SetListIndex(int v);
    bool DefaultFill = true;
    TKitPaintMode PaintMode() const { return m_paintMode; }
    void SetPaintMode(TKitPaintMode v);
    TKitPaintEvent OnPaint;

    bool Dirty() const { return m_dirty; }
    bool EraseFlag() const { return m_eraseFlag; }

    void Activate() override;
    void Deactivate() override;
    bool WndProc(QEvent* Message) override;
    void ObjectChanged(TObject* Sender) override;

    virtual void FillChanged(TObject* Sender);
    // Paints the owner's background with `painter` (open on the owner);
    // False leaves the erasing to the owner.
    virtual bool PaintBackground(QPainter* painter);

protected:
    void invalidateOwner();
    QWidget* ownerWidget() const;
    TRect ownerClientRect() const;

    bool m_dirty = false;
    bool m_eraseFlag = false;

private:
    void listDestroyed();

    TKitChangeLink m_link;
    TKitCustomImageList* m_imageList = nullptr;
    QMetaObject::Connection m_listDestroyed;
    int m_imageIndex = 0;
    int m_listIndex = 0;
    TKitPaintMode m_paintMode = pcControl;
};

class TKitFormFill : public TKitCustomFormFill {
    Q_OBJECT
public:
    explicit TKitFormFill(QObject* AOwner = nullptr);
    ~TKitFormFill() override;

    TKitFillObject* FillObject() const { return m_fillObject.get(); }
    void SetFillObject(const TKitFillObject* v) { m_fillObject->Assign(v); }
    // The cached gradient (empty until the first gradient paint).
    const TBitmap& BackgroundBitmap() const { return *m_background; }
    // How often the gradient was computed into the cache.
    int GradientRenders() const { return m_renders; }

    void Loaded() override;
    void UpdateEraseFlag();
    void FillChanged(TObject* Sender) override;
    void ObjectChanged(TObject* Sender) override;
    bool PaintBackground(QPainter* painter) override;

private:
    std::unique_ptr<TKitFillObject> m_fillObject;
    std::unique_ptr<TBitmap> m_background;
    int m_renders = 0;
};
