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

    TKitCustomImageList* ImageList() const { return FImageList; }
    void SetImageList(TKitCustomImageList* v);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    int ListIndex() const { return FListIndex; }
    void SetListIndex(int v);
    bool DefaultFill = true;
    TKitPaintMode PaintMode() const { return FPaintMode; }
    void SetPaintMode(TKitPaintMode v);
    TKitPaintEvent OnPaint;

    bool Dirty() const { return FDirty; }
    bool EraseFlag() const { return FEraseFlag; }

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

    bool FDirty = false;
    bool FEraseFlag = false;

private:
    void listDestroyed();

    TKitChangeLink FLink;
    TKitCustomImageList* FImageList = nullptr;
    QMetaObject::Connection FListDestroyed;
    int FImageIndex = 0;
    int FListIndex = 0;
    TKitPaintMode FPaintMode = pcControl;
};

class TKitFormFill : public TKitCustomFormFill {
    Q_OBJECT
public:
    explicit TKitFormFill(QObject* AOwner = nullptr);
    ~TKitFormFill() override;

    TKitFillObject* FillObject() const { return FFillObject.get(); }
    void SetFillObject(const TKitFillObject* v) { FFillObject->Assign(v); }
    // The cached gradient (empty until the first gradient paint).
    const TBitmap& BackgroundBitmap() const { return *FBackground; }
    // How often the gradient was computed into the cache.
    int GradientRenders() const { return FRenders; }

    void Loaded() override;
    void UpdateEraseFlag();
    void FillChanged(TObject* Sender) override;
    void ObjectChanged(TObject* Sender) override;
    bool PaintBackground(QPainter* painter) override;

private:
    std::unique_ptr<TKitFillObject> FFillObject;
    std::unique_ptr<TBitmap> FBackground;
    int FRenders = 0;
};
