// The help topics and glyphs of the shell live in a static library, so their
// resources must be registered explicitly before use, as the program does.

#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTextBrowser>
#include <QTest>
#include <QTextDocument>
#include <gtest/gtest.h>

#include "platform/forms.h"
#include "platform/help.h"
#include "support/testutil.h"

// Q_INIT_RESOURCE must be expanded outside any namespace.
static void initShellResources()
{
    Q_INIT_RESOURCE(shell_help);
    Q_INIT_RESOURCE(shell_glyphs);
}

namespace {

// Purpose and procedure of the four works, the two variant dialogs and the
// parts of the base laboratory window.
const int kHelpContexts[] = {101, 102, 103, 201, 202, 203, 301, 302, 401, 402,
                             10001, 10002, 10003, 10004, 10005, 10006};

struct Glyph {
    const char* name;
    int size; // viewBox side
};
const Glyph kGlyphs[] = {
    {"GLYPH_OSCTUBE", 32}, {"GLYPH_APSIGNAL", 32}, {"GLYPH_LISSAJOU", 32}, {"GLYPH_DAMPOSC", 32},
    {"GLYPH_CONDOSC", 32}, {"LIST_WORK1", 16},     {"LIST_WORK2", 16},     {"LIST_WORK3", 16},
    {"LIST_WORK4", 16},    {"PURPOSE", 32},        {"INSTRUCT", 32},       {"HELPPOINTER", 32},
    {"CALCULATOR", 32},    {"TRAINING", 32},
};

QString readUtf8(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

class ShellResources : public ::testing::Test {
protected:
    static void SetUpTestSuite() { initShellResources(); }
};

TEST_F(ShellResources, EveryHelpTopicIsATitledPageOfReadableLength)
{
    for (int ctx : kHelpContexts) {
        SCOPED_TRACE(ctx);
        const QString path = Help::TopicPath("Vorlin.hlp", ctx);
        ASSERT_EQ(path, QString(":/help/Vorlin/%1.html").arg(ctx));
        const QString html = readUtf8(path);
        ASSERT_FALSE(html.isEmpty());
        EXPECT_TRUE(html.contains("<title>") || html.contains("<h1"));
        EXPECT_TRUE(html.contains("charset=utf-8"));
        EXPECT_FALSE(html.contains("<script", Qt::CaseInsensitive));
        // Every element opened is closed: a stray tag swallows the rest of the page.
        for (const char* tag : {"html", "head", "title", "body", "h1", "h2", "h3", "p", "ol", "ul", "li", "b", "i",
                                "sub", "sup"}) {
            const QRegularExpression open(QString("<%1[ >]").arg(tag));
            const QRegularExpression close(QString("</%1>").arg(tag));
            EXPECT_EQ(html.count(open), html.count(close)) << tag;
        }

        QTextDocument doc;
        doc.setHtml(html);
        const QStringList words =
            doc.toPlainText().split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
        EXPECT_GE(words.size(), 150);
        EXPECT_LE(words.size(), 400);
        EXPECT_FALSE(doc.metaInformation(QTextDocument::DocumentTitle).isEmpty());
    }
}

TEST_F(ShellResources, HelpViewerShowsTheRussianTextOfATopic)
{
    ASSERT_TRUE(Help::Show(nullptr, "Vorlin.hlp>main", HELP_CONTEXT, 101));
    EXPECT_TRUE(Help::LastRequest().found);
    QTextBrowser* v = Help::Viewer("main");
    ASSERT_NE(v, nullptr);
    // The page is decoded as UTF-8: Cyrillic survives into the viewer.
    EXPECT_EQ(v->documentTitle(), QString("Работа 1. Изучение электронного осциллографа. Цель работы"));
    EXPECT_TRUE(v->toPlainText().contains("U0 = h·K"));
    testutil::screenshot(v, "help_101");

    // Formulas are HTML entities, sub- and superscripts: they must come out
    // as symbols. The request finds the window minimised and brings it back.
    v->showMinimized();
    ASSERT_TRUE(Help::Show(nullptr, "Vorlin.hlp>main", HELP_CONTEXT, 401));
    EXPECT_FALSE(v->isMinimized());
    EXPECT_TRUE(QTest::qWaitFor([&] { return v->isActiveWindow(); }, 10000));
    EXPECT_TRUE(v->toPlainText().contains("ω"));
    EXPECT_TRUE(v->toPlainText().contains("√"));
    EXPECT_FALSE(v->toPlainText().contains("&radic;"));
    testutil::screenshot(v, "help_401");

    ASSERT_TRUE(Help::Show(nullptr, "Vorlin.hlp>LabPtr", HELP_CONTEXT, 10005));
    QTextBrowser* p = Help::Viewer("LabPtr");
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->toPlainText().contains("Справка по элементам окна"));
    testutil::screenshot(p, "help_10005");
}

TEST_F(ShellResources, EveryGlyphIsAValidSquareSvgThatDrawsSomething)
{
    for (const Glyph& g : kGlyphs) {
        SCOPED_TRACE(g.name);
        const QString path = QString(":/glyphs/%1.svg").arg(g.name);
        ASSERT_TRUE(QFile::exists(path));
        QSvgRenderer r(path);
        ASSERT_TRUE(r.isValid());
        EXPECT_EQ(r.viewBoxF(), QRectF(0, 0, g.size, g.size));
        EXPECT_FALSE(QIcon(path).isNull());

        // At the smallest size a button shows, the picture still covers a
        // fair part of its square and is not a single flat colour.
        for (int side : {16, 24, 32}) {
            QImage img(side, side, QImage::Format_ARGB32_Premultiplied);
            img.fill(Qt::transparent);
            QPainter p(&img);
            r.render(&p, QRectF(0, 0, side, side));
            p.end();
            int opaque = 0;
            QSet<QRgb> colours;
            for (int y = 0; y < side; ++y)
                for (int x = 0; x < side; ++x) {
                    const QRgb c = img.pixel(x, y);
                    if (qAlpha(c) > 128) {
                        ++opaque;
                        colours.insert(c & 0xF0F0F0);
                    }
                }
            EXPECT_GT(opaque, side * side / 5) << side;
            EXPECT_GE(colours.size(), 2) << side;
        }
    }
}

} // namespace
