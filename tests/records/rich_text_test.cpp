// The stored form of the diagnosis: what each kind of markup becomes, what is dropped
// and noted, and that reducing a reduced text changes nothing.

#include "records/rich_text.h"

#include <gtest/gtest.h>

using records::cleanRichText;

namespace {

struct Case
{
    const char* in;
    const char* out;
    const char* removed;  // the notes, joined by ","
};

const Case kCases[] = {
    // The bar's own markup, and its variants from other editors.
    {"<p>a <b>b</b> <i>c</i> <u>d</u></p>", "<p>a <b>b</b> <i>c</i> <u>d</u></p>", ""},
    {"<strong>b</strong><em>i</em><ins>u</ins>", "<b>b</b><i>i</i><u>u</u>", ""},
    {"<ul><li>um</li> <li>dois</li></ul><ol><li>x</li></ol>",
     "<ul><li>um</li>\n<li>dois</li></ul>\n<ol><li>x</li></ol>", ""},
    {"<div>a</div><h1>T</h1>", "<p>a</p>\n<p>T</p>", ""},
    {"a<br/>b<BR>c", "a<br>b<br>c", ""},
    // Qt's rich text: styles become markup, the rest of the style goes.
    {"<span style=\" font-weight:700; font-style:italic; text-decoration: underline; "
     "font-size:14pt; color:#ff0000;\">x</span>",
     "<span style=\"font-size:14pt\"><b><i><u>x</u></i></b></span>", "color"},
    {"<span style=\"font-weight:400\">n</span><span style=\"font-size:200pt\">g</span>"
     "<span style=\"font-size:2em\">e</span>",
     "n<span style=\"font-size:72pt\">g</span>e", "font-size"},
    {"<html><head><meta charset=\"utf-8\"><title>t</title><style>p{}</style></head>"
     "<body style=\"font-size:9pt\"><p style=\"margin-top:0px\">a</p></body></html>",
     "<p>a</p>", "<title>,<style>,margin-top"},
    // Hostile markup: gone with its content; attributes and remote resources noted.
    {"<p onclick=\"x()\" class=\"c\">a<script>alert('</p>')</script>b</p>", "<p>ab</p>",
     "onclick,class,<script>"},
    {"<img src=\"http://evil.example/p.png\" onerror=\"x()\">a", "a", "<img>"},
    {"<a href=\"javascript:alert(1)\">link</a>", "link", "href"},
    {"<iframe src=x>a</iframe><object data=x><p>b</p></object><svg><svg></svg>c</svg>d", "d",
     "<iframe>,<object>,<svg>"},
    {"<SCRIPT>x</script >y<!-- <b>c</b> --><!DOCTYPE html>", "y", "<script>"},
    {"<marquee>m</marquee>", "m", "<marquee>"},
    // Text: entities read, &, < and > written back escaped; controls dropped.
    {"a &amp; b &lt;c&gt; &#233;&#x41; &bogus; 3 < 4",
     "a &amp; b &lt;c&gt; éA &amp;bogus; 3 &lt; 4", ""},
    {"a\x01\x07z\tq", "az\tq", ""},
    // Unbalanced markup: closes what it opened, and a stray end tag is ignored.
    {"<b>a<i>b</b>c</i></u>", "<b>a<i>b</i></b>c", ""},
    {"<p><b>open", "<p><b>open</b></p>", ""},
    {"<b", "", ""},
};

}  // namespace

TEST(RichText, EachKindOfMarkupReducesToTheBarsForm)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.in);
        const records::CleanRichText clean = cleanRichText(QString::fromUtf8(c.in));
        EXPECT_EQ(clean.html, QString::fromUtf8(c.out));
        EXPECT_EQ(clean.removed.join(QLatin1Char(',')), QString::fromUtf8(c.removed));
        // Reduced once, a text is its own stored form.
        const records::CleanRichText again = cleanRichText(clean.html);
        EXPECT_EQ(again.html, clean.html);
        EXPECT_TRUE(again.removed.isEmpty());
    }
}

TEST(RichText, TextIsThereOnlyWhenSomethingButBlanksIsLeft)
{
    EXPECT_FALSE(cleanRichText(QString()).hasText);
    EXPECT_FALSE(cleanRichText(QStringLiteral("<p><br></p>\n<p> </p><img src=x>")).hasText);
    EXPECT_FALSE(cleanRichText(QStringLiteral("<script>texto</script>")).hasText);
    EXPECT_TRUE(cleanRichText(QStringLiteral("<ul><li><b>x</b></li></ul>")).hasText);
}
