#pragma once
// Connecting wires between the instruments of an exercise: polylines in the
// client coordinates of one reference control (or in screen coordinates),
// drawn piece by piece on every paint box they cross, so the pieces join.

#include "platform/types.h"

#include <QPoint>
#include <QString>
#include <memory>
#include <vector>

class QWidget;
class TCanvas;
class TControl;

// Half of the system's double-click area: how far beside a wire still hits it.
constexpr int WireHitHalfWidth = 4 / 2;
constexpr int WireHitHalfHeight = 4 / 2;

class TSingleWire {
public:
    std::vector<QPoint> Points;
    QString Hint;
    int HelpContext = 0;
    TColor Color = clBlue;

    QPoint GetPoint(int I) const;
    void SetPoint(int I, QPoint P);
    // Canvas belongs to PaintBox; vertices are RefControl's client points
    // (screen points when RefControl is null).
    void Draw(QWidget* PaintBox, TCanvas& Canvas, QWidget* RefControl) const;
    // P in screen coordinates.
    bool HitTest(const TPoint& P, QWidget* RefControl) const;
};

class TWireSystem {
public:
    std::vector<std::unique_ptr<TSingleWire>> Wires;
    QWidget* RefControl = nullptr;
    QString Hint = QStringLiteral("Провод");
    int HelpContext = 0;

    TSingleWire* AddWire(int N);
    void Draw(QWidget* PaintBox, TCanvas& Canvas) const;
    int WireAt(const TPoint& P) const;
    // Same arguments as the laboratory form's hint query; returns the index
    // of the wire hit, or -1 with nothing changed.
    int GetHintInfo(const TPoint& P, bool Mode, TControl* Control, int& HelpContext, QString& Text) const;
};
