#include "scope/drawwire.h"

#include "platform/graphics.h"

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <gtest/gtest.h>

TEST(WireSystem, HitRectangleAroundSegments)
{
    TWireSystem ws;
    TSingleWire* w = ws.AddWire(3);
    ASSERT_EQ(w->Points.size(), 3u);
    EXPECT_EQ(w->GetPoint(2), QPoint(0, 0));
    w->SetPoint(0, QPoint(100, 100));
    w->SetPoint(1, QPoint(200, 100));
    w->SetPoint(2, QPoint(200, 50));
    EXPECT_TRUE(w->HitTest(TPoint(150, 101), nullptr));
    EXPECT_TRUE(w->HitTest(TPoint(150, 98), nullptr));
    EXPECT_FALSE(w->HitTest(TPoint(150, 103), nullptr));
    EXPECT_FALSE(w->HitTest(TPoint(150, 97), nullptr));
    // Left and top edges inside, right and bottom outside.
    EXPECT_TRUE(w->HitTest(TPoint(98, 100), nullptr));
    EXPECT_FALSE(w->HitTest(TPoint(97, 100), nullptr));
    EXPECT_TRUE(w->HitTest(TPoint(201, 60), nullptr));
    EXPECT_FALSE(w->HitTest(TPoint(202, 60), nullptr));
    // Near a diagonal the whole spanned rectangle counts.
    TSingleWire* diag = ws.AddWire(2);
    diag->SetPoint(0, QPoint(0, 300));
    diag->SetPoint(1, QPoint(100, 400));
    EXPECT_TRUE(diag->HitTest(TPoint(90, 310), nullptr));
    // Fewer than two vertices never hit.
    TSingleWire* lone = ws.AddWire(1);
    EXPECT_FALSE(lone->HitTest(TPoint(0, 0), nullptr));
    EXPECT_EQ(ws.WireAt(TPoint(150, 100)), 0);
    EXPECT_EQ(ws.WireAt(TPoint(50, 350)), 1);
    EXPECT_EQ(ws.WireAt(TPoint(500, 500)), -1);
}

TEST(WireSystem, HintsAndHelp)
{
    TWireSystem ws;
    TSingleWire* a = ws.AddWire(2);
    a->SetPoint(0, QPoint(0, 10));
    a->SetPoint(1, QPoint(100, 10));
    TSingleWire* b = ws.AddWire(2); // overlaps a
    b->SetPoint(0, QPoint(0, 10));
    b->SetPoint(1, QPoint(100, 10));
    b->Hint = "Провод генератора";

    int ctx = 77;
    QString text = "control";
    EXPECT_EQ(ws.GetHintInfo(TPoint(50, 10), false, nullptr, ctx, text), 0); // earlier wins
    EXPECT_EQ(text, QString("Провод"));
    EXPECT_EQ(ctx, 77); // both contexts 0: the form's own stays

    ws.HelpContext = 5001;
    a->HelpContext = 5002;
    ws.GetHintInfo(TPoint(50, 10), true, nullptr, ctx, text);
    EXPECT_EQ(ctx, 5002);
    a->HelpContext = 0;
    ws.GetHintInfo(TPoint(50, 10), true, nullptr, ctx, text);
    EXPECT_EQ(ctx, 5001);

    ws.Hint.clear();
    text = "control";
    ws.GetHintInfo(TPoint(50, 10), false, nullptr, ctx, text);
    EXPECT_EQ(text, QString("control"));
    a->Hint = "Свой";
    ws.GetHintInfo(TPoint(50, 10), false, nullptr, ctx, text);
    EXPECT_EQ(text, QString("Свой"));

    text = "x";
    ctx = 1;
    EXPECT_EQ(ws.GetHintInfo(TPoint(50, 200), false, nullptr, ctx, text), -1);
    EXPECT_EQ(text, QString("x"));
    EXPECT_EQ(ctx, 1);
    (void)b;
}

TEST(WireSystem, PiecesOnSeveralBoxesJoin)
{
    QWidget top;
    top.setGeometry(100, 100, 400, 200);
    QWidget left(&top), right(&top);
    left.setGeometry(0, 0, 200, 200);
    right.setGeometry(200, 0, 200, 200);
    top.show();

    TWireSystem ws;
    ws.RefControl = &top;
    TSingleWire* w = ws.AddWire(2);
    w->SetPoint(0, QPoint(50, 100));
    w->SetPoint(1, QPoint(350, 100));

    TBitmap lb(200, 200), rb(200, 200);
    lb.Canvas().Brush.Color = clWhite;
    lb.Canvas().FillRect(TRect(0, 0, 200, 200));
    rb.Canvas().Brush.Color = clWhite;
    rb.Canvas().FillRect(TRect(0, 0, 200, 200));
    ws.Draw(&left, lb.Canvas());
    ws.Draw(&right, rb.Canvas());
    EXPECT_EQ(lb.Canvas().Pen.Width, 1); // the canvas's pen comes back
    const QImage li = lb.Image(), ri = rb.Image();
    EXPECT_EQ(li.pixel(150, 100) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(li.pixel(199, 100) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(ri.pixel(0, 100) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(ri.pixel(100, 100) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(ri.pixel(180, 100) & 0xFFFFFF, 0xFFFFFFu); // past the end

    // Hit test in screen coordinates relative to the reference control.
    EXPECT_EQ(ws.WireAt(TPoint::from(top.mapToGlobal(QPoint(300, 101)))), 0);
    EXPECT_EQ(ws.WireAt(TPoint(300, 101)), -1);
}
