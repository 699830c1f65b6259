#include "rich_text.h"

#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

namespace records {
namespace {

// The elements of the stored form.
enum class Tag
{
    Root,
    P,
    Br,
    Ul,
    Ol,
    Li,
    B,
    I,
    U,
    Span  // a font size
};

struct Node
{
    Tag tag = Tag::Root;
    int points = 0;  // Span
    QString text;    // a text node when isText
    bool isText = false;
    std::vector<std::unique_ptr<Node>> children;
};

const QSet<QString>& voidElements()
{
    static const QSet<QString> names{
        QStringLiteral("area"),  QStringLiteral("base"),  QStringLiteral("br"),
        QStringLiteral("col"),   QStringLiteral("embed"), QStringLiteral("hr"),
        QStringLiteral("img"),   QStringLiteral("input"), QStringLiteral("link"),
        QStringLiteral("meta"),  QStringLiteral("param"), QStringLiteral("source"),
        QStringLiteral("track"), QStringLiteral("wbr"),   QStringLiteral("image"),
        QStringLiteral("keygen")};
    return names;
}

// Elements whose content is not markup: skipped up to their end tag.
const QSet<QString>& rawTextElements()
{
    static const QSet<QString> names{QStringLiteral("script"),   QStringLiteral("style"),
                                     QStringLiteral("textarea"), QStringLiteral("title"),
                                     QStringLiteral("xmp"),      QStringLiteral("iframe"),
                                     QStringLiteral("noembed"),  QStringLiteral("noframes"),
                                     QStringLiteral("noscript"), QStringLiteral("plaintext")};
    return names;
}

// Elements dropped with everything inside them.
const QSet<QString>& droppedElements()
{
    static const QSet<QString> names{
        QStringLiteral("head"),   QStringLiteral("object"),   QStringLiteral("applet"),
        QStringLiteral("svg"),    QStringLiteral("math"),     QStringLiteral("template"),
        QStringLiteral("select"), QStringLiteral("audio"),    QStringLiteral("video"),
        QStringLiteral("canvas"), QStringLiteral("frameset"), QStringLiteral("frame"),
        QStringLiteral("map"),    QStringLiteral("picture"),  QStringLiteral("button")};
    return names;
}

// Elements dropped while their text stays, without a note (they carry no formatting the
// bar has, and no behaviour).
const QSet<QString>& transparentElements()
{
    static const QSet<QString> names{
        QStringLiteral("html"),  QStringLiteral("body"),  QStringLiteral("a"),
        QStringLiteral("table"), QStringLiteral("tbody"), QStringLiteral("thead"),
        QStringLiteral("tfoot"), QStringLiteral("td"),    QStringLiteral("th"),
        QStringLiteral("small"), QStringLiteral("big"),   QStringLiteral("sub"),
        QStringLiteral("sup"),   QStringLiteral("s"),     QStringLiteral("strike"),
        QStringLiteral("del"),   QStringLiteral("code"),  QStringLiteral("kbd"),
        QStringLiteral("samp"),  QStringLiteral("tt"),    QStringLiteral("abbr"),
        QStringLiteral("q"),     QStringLiteral("mark"),  QStringLiteral("nobr"),
        QStringLiteral("label"), QStringLiteral("cite"),  QStringLiteral("caption"),
        QStringLiteral("dl"),    QStringLiteral("font")};
    return names;
}

std::optional<Tag> blockTag(const QString& name)
{
    static const QHash<QString, Tag> tags{
        {QStringLiteral("p"), Tag::P},          {QStringLiteral("div"), Tag::P},
        {QStringLiteral("h1"), Tag::P},         {QStringLiteral("h2"), Tag::P},
        {QStringLiteral("h3"), Tag::P},         {QStringLiteral("h4"), Tag::P},
        {QStringLiteral("h5"), Tag::P},         {QStringLiteral("h6"), Tag::P},
        {QStringLiteral("blockquote"), Tag::P}, {QStringLiteral("pre"), Tag::P},
        {QStringLiteral("address"), Tag::P},    {QStringLiteral("center"), Tag::P},
        {QStringLiteral("section"), Tag::P},    {QStringLiteral("article"), Tag::P},
        {QStringLiteral("header"), Tag::P},     {QStringLiteral("footer"), Tag::P},
        {QStringLiteral("tr"), Tag::P},         {QStringLiteral("dt"), Tag::P},
        {QStringLiteral("dd"), Tag::P},         {QStringLiteral("ul"), Tag::Ul},
        {QStringLiteral("ol"), Tag::Ol},        {QStringLiteral("li"), Tag::Li},
        {QStringLiteral("b"), Tag::B},          {QStringLiteral("strong"), Tag::B},
        {QStringLiteral("i"), Tag::I},          {QStringLiteral("em"), Tag::I},
        {QStringLiteral("u"), Tag::U},          {QStringLiteral("ins"), Tag::U},
        {QStringLiteral("span"), Tag::Root}};  // Root: formatting from the style only
    const auto it = tags.find(name);
    if (it == tags.end())
        return std::nullopt;
    return *it;
}

QString decodeEntities(const QString& text)
{
    if (!text.contains(QLatin1Char('&')))
        return text;
    static const QHash<QString, QChar> named{
        {QStringLiteral("amp"), QLatin1Char('&')},   {QStringLiteral("lt"), QLatin1Char('<')},
        {QStringLiteral("gt"), QLatin1Char('>')},    {QStringLiteral("quot"), QLatin1Char('"')},
        {QStringLiteral("apos"), QLatin1Char('\'')}, {QStringLiteral("nbsp"), QChar(0x00A0)}};
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('&')) {
            out += text[i];
            continue;
        }
        const qsizetype semi = text.indexOf(QLatin1Char(';'), i + 1);
        if (semi < 0 || semi - i > 10) {
            out += text[i];
            continue;
        }
        const QString name = text.mid(i + 1, semi - i - 1);
        bool ok = false;
        char32_t code = 0;
        if (name.startsWith(QLatin1Char('#'))) {
            const bool hex = name.size() > 1 && (name[1] == u'x' || name[1] == u'X');
            code = hex ? name.mid(2).toUInt(&ok, 16) : name.mid(1).toUInt(&ok, 10);
            ok = ok && code > 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
        }
        if (ok) {
            out += QString::fromUcs4(&code, 1);
        } else if (const auto it = named.find(name); it != named.end()) {
            out += *it;
        } else {
            out += text[i];
            continue;
        }
        i = semi;
    }
    return out;
}

// Control characters other than tab and line ends have no place in a text.
QString withoutControls(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 || c == u'\t' || c == u'\n' || c == u'\r')
            out += c;
    }
    return out;
}

struct Formatting
{
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int points = 0;
};

// The formatting a style attribute asks for; every other property is noted as removed.
Formatting readStyle(const QString& style, QStringList& removed)
{
    Formatting f;
    static const QRegularExpression sizePattern(
        QStringLiteral("^\\s*(\\d{1,3}(?:\\.\\d+)?)\\s*pt\\s*$"));
    for (const QString& declaration : style.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype colon = declaration.indexOf(QLatin1Char(':'));
        if (colon < 0)
            continue;
        const QString property = declaration.left(colon).trimmed().toLower();
        const QString value = declaration.mid(colon + 1).trimmed().toLower();
        if (property == u"font-weight") {
            bool numeric = false;
            const int weight = value.toInt(&numeric);
            f.bold = numeric ? weight >= 600 : (value == u"bold" || value == u"bolder");
        } else if (property == u"font-style") {
            f.italic = value == u"italic" || value == u"oblique";
        } else if (property == u"text-decoration" || property == u"text-decoration-line") {
            f.underline = value.split(QLatin1Char(' '), Qt::SkipEmptyParts)
                              .contains(QStringLiteral("underline"));
        } else if (property == u"font-size") {
            const QRegularExpressionMatch m = sizePattern.match(value);
            if (m.hasMatch()) {
                const int points = static_cast<int>(std::lround(m.captured(1).toDouble()));
                f.points = std::clamp(points, kMinFontPoints, kMaxFontPoints);
            } else {
                removed.append(property);
            }
        } else if (!property.isEmpty()) {
            removed.append(property);
        }
    }
    return f;
}

struct Attribute
{
    QString name;
    QString value;
};

struct StartTag
{
    QString name;
    QList<Attribute> attributes;
    bool selfClosing = false;
};

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'-' || c == u'_' || c == u':';
}

// Builds the tree of the stored form while reading the HTML.
class Reducer
{
public:
    explicit Reducer(const QString& html) : m_s(html) { m_stack.push_back({&m_root, {}}); }

    CleanRichText run()
    {
        while (m_i < m_s.size()) {
            if (m_s[m_i] == u'<' && readMarkup())
                continue;
            readText();
        }
        CleanRichText result;
        result.removed = m_removed;
        result.html = serialise(m_root, result.hasText);
        return result;
    }

private:
    // An open source element and the innermost output element it opened (its parent's
    // when it opened none).
    struct Frame
    {
        Node* node;
        QString sourceName;
    };

    void note(const QString& item)
    {
        if (!m_removed.contains(item))
            m_removed.append(item);
    }

    Node* current() { return m_stack.back().node; }

    Node* open(Tag tag, int points = 0)
    {
        auto node = std::make_unique<Node>();
        node->tag = tag;
        node->points = points;
        Node* raw = node.get();
        current()->children.push_back(std::move(node));
        return raw;
    }

    void addText(const QString& text)
    {
        if (m_skipDepth > 0 || text.isEmpty())
            return;
        Node* parent = current();
        if (!parent->children.empty() && parent->children.back()->isText) {
            parent->children.back()->text += text;
            return;
        }
        auto node = std::make_unique<Node>();
        node->isText = true;
        node->text = text;
        parent->children.push_back(std::move(node));
    }

    void readText()
    {
        qsizetype next = m_s.indexOf(QLatin1Char('<'), m_i + 1);
        if (next < 0)
            next = m_s.size();
        addText(withoutControls(decodeEntities(m_s.mid(m_i, next - m_i))));
        m_i = next;
    }

    void skipPast(const QString& end)
    {
        const qsizetype at = m_s.indexOf(end, m_i, Qt::CaseInsensitive);
        m_i = at < 0 ? m_s.size() : at + end.size();
    }

    // Reads the markup at '<'; false when the '<' is plain text.
    bool readMarkup()
    {
        if (m_s.mid(m_i, 4) == u"<!--") {
            m_i += 4;
            skipPast(QStringLiteral("-->"));
            return true;
        }
        const QChar next = m_i + 1 < m_s.size() ? m_s[m_i + 1] : QChar();
        if (next == u'!' || next == u'?') {
            m_i += 2;
            skipPast(QStringLiteral(">"));
            return true;
        }
        if (next == u'/') {
            m_i += 2;
            const QString name = readName();
            skipPast(QStringLiteral(">"));
            if (!name.isEmpty())
                endTag(name);
            return true;
        }
        if (!next.isLetter())
            return false;
        ++m_i;
        startTag(readStartTag());
        return true;
    }

    QString readName()
    {
        const qsizetype from = m_i;
        while (m_i < m_s.size() && isNameChar(m_s[m_i]))
            ++m_i;
        return m_s.mid(from, m_i - from).toLower();
    }

    void skipBlanks()
    {
        while (m_i < m_s.size() && m_s[m_i].isSpace())
            ++m_i;
    }

    StartTag readStartTag()
    {
        StartTag tag;
        tag.name = readName();
        while (m_i < m_s.size()) {
            skipBlanks();
            if (m_i >= m_s.size())
                break;
            if (m_s[m_i] == u'>') {
                ++m_i;
                break;
            }
            if (m_s[m_i] == u'/') {
                ++m_i;
                skipBlanks();
                if (m_i < m_s.size() && m_s[m_i] == u'>') {
                    tag.selfClosing = true;
                    ++m_i;
                    break;
                }
                continue;
            }
            Attribute a;
            const qsizetype from = m_i;
            while (m_i < m_s.size() && !m_s[m_i].isSpace() && m_s[m_i] != u'=' && m_s[m_i] != u'>'
                   && m_s[m_i] != u'/')
                ++m_i;
            a.name = m_s.mid(from, m_i - from).toLower();
            if (a.name.isEmpty())  // a stray character
                a.name = m_s.mid(m_i++, 1);
            skipBlanks();
            if (m_i < m_s.size() && m_s[m_i] == u'=') {
                ++m_i;
                skipBlanks();
                if (m_i < m_s.size() && (m_s[m_i] == u'"' || m_s[m_i] == u'\'')) {
                    const QChar quote = m_s[m_i++];
                    qsizetype end = m_s.indexOf(quote, m_i);
                    if (end < 0)
                        end = m_s.size();
                    a.value = decodeEntities(m_s.mid(m_i, end - m_i));
                    m_i = std::min(end + 1, m_s.size());
                } else {
                    const qsizetype vfrom = m_i;
                    while (m_i < m_s.size() && !m_s[m_i].isSpace() && m_s[m_i] != u'>')
                        ++m_i;
                    a.value = decodeEntities(m_s.mid(vfrom, m_i - vfrom));
                }
            }
            tag.attributes.append(a);
        }
        return tag;
    }

    void startTag(const StartTag& tag)
    {
        const QString& name = tag.name;
        if (rawTextElements().contains(name)) {
            note(QStringLiteral("<%1>").arg(name));
            if (!tag.selfClosing)
                skipPast(QStringLiteral("</") + name);
            skipPast(QStringLiteral(">"));
            return;
        }
        if (droppedElements().contains(name)) {
            if (name != u"head")
                note(QStringLiteral("<%1>").arg(name));
            if (!tag.selfClosing && !voidElements().contains(name)) {
                if (m_skipDepth == 0)
                    m_skipName = name;
                if (name == m_skipName)
                    ++m_skipDepth;
            }
            return;
        }
        if (m_skipDepth > 0)
            return;
        if (name == u"br") {
            open(Tag::Br);
            return;
        }
        if (voidElements().contains(name)) {
            note(QStringLiteral("<%1>").arg(name));
            return;
        }

        // The page's own style is the editor's default font, not a choice of the user.
        const bool page = name == u"html" || name == u"body";
        QString style;
        for (const Attribute& a : tag.attributes) {
            if (a.name == u"style" && !page)
                style = a.value;
            else if (!(page && a.name == u"style"))
                note(a.name);
        }
        const std::optional<Tag> mapped = blockTag(name);
        if (!mapped && !transparentElements().contains(name))
            note(QStringLiteral("<%1>").arg(name));
        QStringList ignoredProperties;
        Formatting f = readStyle(style, ignoredProperties);
        for (const QString& p : ignoredProperties)
            note(p);
        if (mapped == Tag::B)
            f.bold = true;
        else if (mapped == Tag::I)
            f.italic = true;
        else if (mapped == Tag::U)
            f.underline = true;

        if (tag.selfClosing)
            return;
        Node* node = current();
        auto push = [&](Tag t, int points = 0) {
            auto child = std::make_unique<Node>();
            child->tag = t;
            child->points = points;
            Node* raw = child.get();
            node->children.push_back(std::move(child));
            node = raw;
        };
        if (mapped == Tag::P || mapped == Tag::Ul || mapped == Tag::Ol || mapped == Tag::Li)
            push(*mapped);
        if (f.points > 0)
            push(Tag::Span, f.points);
        if (f.bold)
            push(Tag::B);
        if (f.italic)
            push(Tag::I);
        if (f.underline)
            push(Tag::U);
        m_stack.push_back({node, name});
    }

    void endTag(const QString& name)
    {
        if (m_skipDepth > 0) {
            if (name == m_skipName)
                --m_skipDepth;
            return;
        }
        // Closes the innermost open element of that name and everything opened inside it.
        for (auto it = m_stack.size(); it > 1; --it) {
            if (m_stack[it - 1].sourceName == name) {
                m_stack.resize(it - 1);
                return;
            }
        }
    }

    static QString escape(const QString& text)
    {
        QString out;
        out.reserve(text.size());
        for (const QChar c : text) {
            if (c == u'&')
                out += QStringLiteral("&amp;");
            else if (c == u'<')
                out += QStringLiteral("&lt;");
            else if (c == u'>')
                out += QStringLiteral("&gt;");
            else
                out += c;
        }
        return out;
    }

    static bool holdsBlocks(Tag t) { return t == Tag::Root || t == Tag::Ul || t == Tag::Ol; }
    static bool isBlock(Tag t)
    {
        return t == Tag::P || t == Tag::Ul || t == Tag::Ol || t == Tag::Li;
    }

    static QString serialise(const Node& node, bool& hasText)
    {
        QString out;
        for (const auto& child : node.children) {
            if (child->isText) {
                // Blanks between blocks carry nothing.
                if (holdsBlocks(node.tag) && child->text.trimmed().isEmpty())
                    continue;
                if (!child->text.trimmed().isEmpty())
                    hasText = true;
                out += escape(child->text);
                continue;
            }
            const QString inner = serialise(*child, hasText);
            // Formatting of nothing is nothing.
            const bool inlineTag = child->tag == Tag::B || child->tag == Tag::I
                                   || child->tag == Tag::U || child->tag == Tag::Span;
            if (inlineTag && inner.isEmpty())
                continue;
            // One block a line, for whoever reads the stored text (nothing after the last:
            // the editor would read it as a blank at the end of that block).
            if (isBlock(child->tag) && holdsBlocks(node.tag) && !out.isEmpty())
                out += QLatin1Char('\n');
            switch (child->tag) {
            case Tag::Br:
                out += QStringLiteral("<br>");
                break;
            case Tag::P:
                out += QStringLiteral("<p>") + inner + QStringLiteral("</p>");
                break;
            case Tag::Ul:
                out += QStringLiteral("<ul>") + inner + QStringLiteral("</ul>");
                break;
            case Tag::Ol:
                out += QStringLiteral("<ol>") + inner + QStringLiteral("</ol>");
                break;
            case Tag::Li:
                out += QStringLiteral("<li>") + inner + QStringLiteral("</li>");
                break;
            case Tag::B:
                out += QStringLiteral("<b>") + inner + QStringLiteral("</b>");
                break;
            case Tag::I:
                out += QStringLiteral("<i>") + inner + QStringLiteral("</i>");
                break;
            case Tag::U:
                out += QStringLiteral("<u>") + inner + QStringLiteral("</u>");
                break;
            case Tag::Span:
                out += QStringLiteral("<span style=\"font-size:%1pt\">").arg(child->points) + inner
                       + QStringLiteral("</span>");
                break;
            case Tag::Root:
                out += inner;
                break;
            }
        }
        return out;
    }

    const QString& m_s;
    qsizetype m_i = 0;
    Node m_root;
    std::vector<Frame> m_stack;
    QStringList m_removed;
    QString m_skipName;
    int m_skipDepth = 0;
};

}  // namespace

CleanRichText cleanRichText(const QString& html)
{
    return Reducer(html).run();
}

}  // namespace records
