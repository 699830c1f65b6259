#pragma once

// The pictures of the sexual maturation dialog: schematic vector drawings of the five
// Tanner stages of breast, male genital and pubic hair development, each with its
// stage code and a one-line description of what tells it apart.

#include <QImage>
#include <QString>

class QPainter;
class QRectF;

namespace dialogs {

enum class StageKind
{
    Breast,       // M1 to M5: front view and profile of the chest
    Genital,      // G1 to G5: penis, scrotum and testes, front view
    PubicFemale,  // P1 to P5 of the girls' page
    PubicMale     // P1 to P5 of the boys' page
};

// The size the pictures are drawn at.
inline constexpr int kStagePictureWidth = 400;
inline constexpr int kStagePictureHeight = 180;

// The stage code ("M3", "G2", "P4") and the description under the drawing.
QString stageCaption(StageKind kind, int stage);
QString stageDescription(StageKind kind, int stage);

// Draws stage 1 to 5 of a kind into the rectangle (scaled from 400 by 180).
void drawStage(QPainter& painter, const QRectF& rect, StageKind kind, int stage);
// The picture at its own size on a white ground.
QImage stagePicture(StageKind kind, int stage);

}  // namespace dialogs
