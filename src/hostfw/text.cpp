#include "hostfw/text.h"

namespace hostfw {

namespace {

bool isBlank(QChar c)
{
    return c.unicode() <= u' ';
}

}  // namespace

bool EmptyString(const QString& text)
{
    for (QChar c : text) {
        if (!isBlank(c))
            return false;
    }
    return true;
}

QString Ajusta(const QString& text, int width)
{
    if (text.size() >= width)
        return text;
    return QString(width - text.size(), u'0') + text;
}

QString AllTrim(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

QString RTrim(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && isBlank(text.at(end - 1)))
        --end;
    return text.left(end);
}

}  // namespace hostfw
