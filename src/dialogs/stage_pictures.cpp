#include "stage_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QRectF>

#include <algorithm>
#include <cmath>

namespace dialogs {
namespace {

const QColor kInk(60, 60, 60);
const QColor kSkin(250, 228, 210);
const QColor kAreola(205, 140, 120);
const QColor kCaption(30, 60, 110);

// The drawing area right of the stage code and above the description.
const QRectF kArea(70, 6, 324, 140);
const QRectF kCodeBox(4, 6, 60, 40);
const QRectF kTextBox(6, 146, 388, 32);

int clampStage(int stage)
{
    return std::clamp(stage, 1, 5);
}

QPen inkPen(qreal width = 1.6)
{
    return QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A small deterministic sequence, so a stage always gets the same hairs.
class Scatter
{
public:
    explicit Scatter(quint32 seed) : m_state(seed * 2654435761u + 12345u) {}
    qreal next()  // in [0, 1)
    {
        m_state = m_state * 1664525u + 1013904223u;
        return qreal(m_state >> 8) / qreal(1u << 24);
    }

private:
    quint32 m_state;
};

// ---------------------------------------------------------------- breast

// One breast seen from the front: the lower contour of the gland, the areola and the
// papilla.
void frontBreast(QPainter& p, QPointF nipple, int stage)
{
    static const qreal mound[] = {0, 14, 22, 27, 32};
    static const qreal areola[] = {4.5, 7.5, 9.5, 10.5, 9.5};
    const qreal r = mound[stage - 1];
    if (r > 0) {
        QPainterPath contour;
        contour.moveTo(nipple.x() - r, nipple.y() - r * 0.35);
        contour.cubicTo(nipple.x() - r, nipple.y() + r * 0.9, nipple.x() + r, nipple.y() + r * 0.9,
                        nipple.x() + r, nipple.y() - r * 0.35);
        p.setPen(inkPen(1.4));
        p.setBrush(Qt::NoBrush);
        p.drawPath(contour);
    }
    const qreal a = areola[stage - 1];
    p.setPen(QPen(kAreola.darker(120), 1));
    p.setBrush(kAreola);
    p.drawEllipse(nipple, a, a);
    if (stage == 4) {
        // The areola raised as a second mound: its rim shaded.
        p.setPen(QPen(kAreola.darker(170), 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(nipple, a + 2.5, a + 2.5);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kAreola.darker(150));
    p.drawEllipse(nipple, 2.2, 2.2);
}

// The chest in profile: the wall on the left, the breast projecting to the right.
void profileBreast(QPainter& p, qreal wallX, qreal top, qreal bottom, int stage)
{
    static const qreal projection[] = {0, 9, 20, 26, 34};
    static const qreal height[] = {0, 30, 50, 56, 66};
    const qreal proj = projection[stage - 1];
    const qreal h = height[stage - 1];
    const qreal cy = (top + bottom) / 2 + 4;
    QPainterPath path;
    path.moveTo(wallX, top);
    QPointF tip(wallX + proj, cy);
    if (proj > 0) {
        path.lineTo(wallX, cy - h * 0.6);
        // Upper slope, then a rounder lower pole.
        path.cubicTo(wallX + proj * 0.35, cy - h * 0.45, wallX + proj, cy - h * 0.22, tip.x(),
                     tip.y());
        if (stage == 4) {
            // Areola and papilla form a second mound over the breast's contour.
            path.cubicTo(tip.x() + 7, tip.y() - 1, tip.x() + 9, tip.y() + 8, tip.x() + 1,
                         tip.y() + 12);
            tip = QPointF(tip.x() + 8, tip.y() + 5);
            path.cubicTo(wallX + proj * 1.05, cy + h * 0.45, wallX + proj * 0.55, cy + h * 0.55,
                         wallX, cy + h * 0.45);
        } else {
            path.cubicTo(wallX + proj * 1.05, cy + h * 0.35, wallX + proj * 0.55, cy + h * 0.55,
                         wallX, cy + h * 0.45);
        }
    }
    path.lineTo(wallX, bottom);
    p.setPen(inkPen());
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    // The papilla: alone at stage 1, on the mound after.
    p.setPen(Qt::NoPen);
    p.setBrush(kAreola.darker(150));
    const QPointF papilla = proj > 0 ? tip : QPointF(wallX, cy);
    p.drawEllipse(QRectF(papilla.x() - 1, papilla.y() - 2.5, 4.5, 5));
}

void drawBreast(QPainter& p, int stage)
{
    // Front view: the outline of the trunk and both breasts.
    QPainterPath trunk;
    trunk.moveTo(88, 10);
    trunk.cubicTo(80, 40, 84, 110, 96, 142);
    trunk.moveTo(262, 10);
    trunk.cubicTo(270, 40, 266, 110, 254, 142);
    p.setPen(inkPen());
    p.setBrush(Qt::NoBrush);
    p.drawPath(trunk);
    // Clavicles and the sternum as light guides.
    p.setPen(QPen(kInk.lighter(250), 1));
    p.drawLine(QPointF(110, 22), QPointF(165, 28));
    p.drawLine(QPointF(240, 22), QPointF(185, 28));
    p.drawLine(QPointF(175, 34), QPointF(175, 96));
    frontBreast(p, QPointF(135, 78), stage);
    frontBreast(p, QPointF(215, 78), stage);

    // Profile view.
    p.setPen(QPen(kInk.lighter(250), 1, Qt::DashLine));
    p.drawLine(QPointF(290, 8), QPointF(290, 142));
    profileBreast(p, 322, 12, 142, stage);
}

// ---------------------------------------------------------------- male genitals

struct GenitalSize
{
    qreal penisWidth;
    qreal penisLength;
    qreal scrotumWidth;  // of each half
    qreal scrotumHeight;
    qreal testis;  // radius of the testis drawn inside
    QColor scrotum;
    bool glans;  // a glans wider than the shaft
};

GenitalSize genitalSize(int stage)
{
    switch (stage) {
    case 1:
        return {12, 26, 15, 17, 5, kSkin, false};
    case 2:
        return {12, 28, 21, 25, 8, QColor(236, 176, 160), false};
    case 3:
        return {15, 44, 24, 29, 10, QColor(226, 170, 150), false};
    case 4:
        return {20, 52, 27, 33, 12, QColor(196, 140, 118), true};
    default:
        return {23, 58, 30, 37, 13.5, QColor(172, 118, 98), true};
    }
}

// The scrotum hangs behind and below the penis; sizes from the stage.
void genitals(QPainter& p, QPointF base, const GenitalSize& g, qreal scale = 1.0)
{
    const qreal pw = g.penisWidth * scale;
    const qreal pl = g.penisLength * scale;
    const qreal sw = g.scrotumWidth * scale;
    const qreal sh = g.scrotumHeight * scale;
    // Scrotum: one sac with its median raphe and a testis on each side.
    const qreal top = base.y() + pl * 0.3;
    QPainterPath sac;
    sac.moveTo(base.x() - sw * 0.7, top);
    sac.cubicTo(base.x() - sw * 1.35, top + sh * 0.35, base.x() - sw * 1.2, top + sh * 1.25,
                base.x(), top + sh * 1.2);
    sac.cubicTo(base.x() + sw * 1.2, top + sh * 1.25, base.x() + sw * 1.35, top + sh * 0.35,
                base.x() + sw * 0.7, top);
    sac.closeSubpath();
    p.setPen(inkPen(1.4));
    p.setBrush(g.scrotum);
    p.drawPath(sac);
    p.setPen(QPen(g.scrotum.darker(150), 1));
    p.drawLine(QPointF(base.x(), top + sh * 0.5), QPointF(base.x(), top + sh * 1.18));
    p.setPen(QPen(kInk.lighter(180), 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    for (int side : {-1, 1})
        p.drawEllipse(QPointF(base.x() + side * sw * 0.55, top + sh * 0.72), g.testis * scale * 0.8,
                      g.testis * scale);
    // Scrotal skin texture from stage 2 on.
    if (g.scrotum != kSkin) {
        p.setPen(QPen(g.scrotum.darker(135), 0.8));
        Scatter s(quint32(sw * 10));
        for (int i = 0; i < 16; ++i) {
            const qreal x = base.x() + (s.next() - 0.5) * sw * 1.9;
            const qreal y = top + sh * (0.3 + s.next() * 0.75);
            p.drawLine(QPointF(x, y), QPointF(x + 2, y + 2.5));
        }
    }
    // Shaft in front, and the glans.
    QPainterPath shaft;
    shaft.addRoundedRect(QRectF(base.x() - pw / 2, base.y(), pw, pl), pw / 2, pw / 2);
    p.setPen(inkPen(1.4));
    p.setBrush(kSkin);
    p.drawPath(shaft);
    if (g.glans) {
        const qreal gw = pw * 1.12;
        const QRectF glans(base.x() - gw / 2, base.y() + pl - gw * 1.05, gw, gw * 1.05);
        p.setBrush(QColor(236, 176, 166));
        p.drawEllipse(glans);
        p.drawLine(QPointF(base.x(), glans.bottom() - 4), QPointF(base.x(), glans.bottom()));
    } else {
        // The foreskin closing over a small tip.
        p.drawLine(QPointF(base.x(), base.y() + pl - 5), QPointF(base.x(), base.y() + pl));
    }
}

void groin(QPainter& p)
{
    // The lower trunk, the inguinal folds and the inner thighs.
    QPainterPath outline;
    outline.moveTo(100, 8);
    outline.cubicTo(94, 60, 96, 110, 104, 142);
    outline.moveTo(360, 8);
    outline.cubicTo(366, 60, 364, 110, 356, 142);
    outline.moveTo(118, 40);
    outline.cubicTo(160, 70, 200, 100, 214, 142);
    outline.moveTo(342, 40);
    outline.cubicTo(300, 70, 260, 100, 246, 142);
    p.setPen(QPen(kInk.lighter(160), 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawPath(outline);
}

void drawGenital(QPainter& p, int stage)
{
    groin(p);
    genitals(p, QPointF(230, 40), genitalSize(stage));
}

// ---------------------------------------------------------------- pubic hair

// The area the hair covers at a stage, from the front. Female: an inverted triangle
// with a horizontal upper border; male: the same, pointed towards the navel when adult.
QPainterPath hairArea(int stage, bool male)
{
    QPainterPath area;
    const qreal cx = 230;
    switch (stage) {
    case 2:
        // Along the labia, or at the base of the penis.
        if (male)
            area.addEllipse(QPointF(cx, 66), 26, 14);
        else
            area.addEllipse(QPointF(cx, 112), 14, 26);
        break;
    case 3:
        area.moveTo(cx - 40, 60);
        area.lineTo(cx + 40, 60);
        area.lineTo(cx + 10, 138);
        area.lineTo(cx - 10, 138);
        area.closeSubpath();
        break;
    case 4:
        area.moveTo(cx - 66, 44);
        area.lineTo(cx + 66, 44);
        area.lineTo(cx + 16, 140);
        area.lineTo(cx - 16, 140);
        area.closeSubpath();
        break;
    case 5: {
        // Adult: wider, over the inguinal folds onto the inner thighs.
        area.moveTo(cx - 96, 34);
        if (male) {
            area.lineTo(cx - 20, 34);
            area.lineTo(cx, 8);
            area.lineTo(cx + 20, 34);
        }
        area.lineTo(cx + 96, 34);
        area.lineTo(cx + 82, 70);
        area.lineTo(cx + 36, 142);
        area.lineTo(cx - 36, 142);
        area.lineTo(cx - 82, 70);
        area.closeSubpath();
        break;
    }
    default:
        break;
    }
    return area;
}

// One hair: a curved stroke, longer and straighter at stage 2, short and curly later.
void hair(QPainter& p, QPointF at, qreal angle, int stage)
{
    const qreal length = stage == 2 ? 12 : 7;
    const qreal curl = stage == 2 ? 3 : 5;
    const QPointF dir(std::cos(angle), std::sin(angle));
    const QPointF normal(-dir.y(), dir.x());
    QPainterPath path;
    path.moveTo(at);
    path.cubicTo(at + dir * (length * 0.3) + normal * curl,
                 at + dir * (length * 0.7) - normal * curl, at + dir * length);
    p.drawPath(path);
}

void drawHair(QPainter& p, int stage, bool male);

void drawPubic(QPainter& p, int stage, bool male)
{
    groin(p);
    if (!male) {
        p.setPen(QPen(kInk.lighter(160), 1.3));
        p.drawLine(QPointF(230, 108), QPointF(230, 142));
    }
    drawHair(p, stage, male);
    if (male) {
        // The genitals, small and light, over the hair at their base.
        p.setOpacity(0.8);
        genitals(p, QPointF(230, 72), genitalSize(stage), 0.75);
        p.setOpacity(1.0);
    }
}

void drawHair(QPainter& p, int stage, bool male)
{
    const QPainterPath area = hairArea(stage, male);
    if (area.isEmpty())
        return;
    static const int counts[] = {0, 12, 55, 150, 260};
    static const int shades[] = {0, 150, 90, 60, 40};
    const QColor colour(shades[stage - 1] + 30, shades[stage - 1], shades[stage - 1] / 2);
    p.setPen(QPen(colour, stage == 2 ? 0.9 : 1.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QRectF box = area.boundingRect();
    Scatter s(quint32(stage * 31 + (male ? 7 : 0)));
    int drawn = 0;
    for (int tries = 0; drawn < counts[stage - 1] && tries < 5000; ++tries) {
        const QPointF at(box.left() + s.next() * box.width(), box.top() + s.next() * box.height());
        const qreal angle = stage == 2 ? 1.2 + s.next() * 0.7 : s.next() * 6.283;
        if (!area.contains(at))
            continue;
        hair(p, at, angle, stage);
        ++drawn;
    }
}

}  // namespace

QString stageCaption(StageKind kind, int stage)
{
    const QChar letter =
        kind == StageKind::Breast ? u'M' : (kind == StageKind::Genital ? u'G' : u'P');
    return letter + QString::number(clampStage(stage));
}

QString stageDescription(StageKind kind, int stage)
{
    const int s = clampStage(stage);
    switch (kind) {
    case StageKind::Breast: {
        static const char* const texts[] = {
            "Pré-puberal: apenas a papila se eleva.",
            "Broto mamário: pequena elevação da mama e da papila; aréola maior.",
            "Mama e aréola maiores, sem separação dos seus contornos.",
            "Aréola e papila projetadas formando uma segunda saliência sobre a mama.",
            "Mama adulta: só a papila se projeta; a aréola volta ao contorno da mama."};
        return QString::fromUtf8(texts[s - 1]);
    }
    case StageKind::Genital: {
        static const char* const texts[] = {
            "Pré-puberal: pênis, testículos e escroto infantis.",
            "Escroto e testículos aumentados; pele do escroto avermelhada e mais fina.",
            "Pênis maior, sobretudo em comprimento; testículos e escroto maiores.",
            "Pênis mais largo, glande desenvolvida; escroto maior e mais escuro.",
            "Genitália adulta em tamanho e forma."};
        return QString::fromUtf8(texts[s - 1]);
    }
    case StageKind::PubicFemale:
    case StageKind::PubicMale: {
        if (s == 2)
            return kind == StageKind::PubicFemale
                       ? QStringLiteral("Poucos pêlos longos, finos e claros, ao longo dos grandes "
                                        "lábios.")
                       : QStringLiteral("Poucos pêlos longos, finos e claros, na base do pênis.");
        static const char* const texts[] = {
            "Pré-puberal: sem pêlos pubianos.", "",
            "Pêlos mais escuros, grossos e encaracolados, espalhando-se sobre o púbis.",
            "Pêlos do tipo adulto, em área menor que a do adulto, sem atingir as coxas.",
            "Pêlos adultos em quantidade e tipo, estendendo-se à face interna das coxas."};
        return QString::fromUtf8(texts[s - 1]);
    }
    }
    return {};
}

void drawStage(QPainter& painter, const QRectF& rect, StageKind kind, int stage)
{
    const int s = clampStage(stage);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(rect.topLeft());
    painter.scale(rect.width() / kStagePictureWidth, rect.height() / kStagePictureHeight);

    painter.save();
    painter.setClipRect(kArea.adjusted(-4, 0, 4, 0));
    switch (kind) {
    case StageKind::Breast:
        drawBreast(painter, s);
        break;
    case StageKind::Genital:
        drawGenital(painter, s);
        break;
    case StageKind::PubicFemale:
        drawPubic(painter, s, false);
        break;
    case StageKind::PubicMale:
        drawPubic(painter, s, true);
        break;
    }
    painter.restore();

    QFont code = painter.font();
    code.setPixelSize(26);
    code.setBold(true);
    painter.setFont(code);
    painter.setPen(kCaption);
    painter.drawText(kCodeBox, Qt::AlignLeft | Qt::AlignTop, stageCaption(kind, s));
    QFont text = painter.font();
    text.setPixelSize(12);
    text.setBold(false);
    painter.setFont(text);
    painter.setPen(kInk);
    painter.drawText(kTextBox, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                     stageDescription(kind, s));
    painter.restore();
}

QImage stagePicture(StageKind kind, int stage)
{
    QImage image(kStagePictureWidth, kStagePictureHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    drawStage(painter, QRectF(0, 0, kStagePictureWidth, kStagePictureHeight), kind, stage);
    return image;
}

}  // namespace dialogs
