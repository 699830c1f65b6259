#pragma once

// What the data-entry grid asks about each data type, answered from the catalogue's data
// type descriptors, and how a coded answer is shown.

#include <QString>

namespace workspace::data_types {

// Edema of ankle, knee, thigh root and anasarca: "0" or "1".
bool isEdema(const QString& type);
// Amputated limb parts: "1" marks the part, the unit holds the limbs.
bool isAmputation(const QString& type);
bool isUpperLimb(const QString& type);  // hand, forearm, arm
bool isLowerLimb(const QString& type);  // foot to whole leg
// Measurements that must be numbers when posted.
bool isNumeric(const QString& type);
// Rows whose answer is a code from a list: time, edema, limbs, trimesters, activity level.
bool isCoded(const QString& type);
// The observed stage of sexual maturation, written only by its dialog.
bool isMaturation(const QString& type);
// Weight and height, which the estimate dialog can fill.
bool isEstimable(const QString& type);
// Gestational week: whole weeks, no decimal separator.
bool isWholeNumber(const QString& type);

// The text a coded answer is shown with: the code is the first character of the stored
// value; a code the type's table lacks, and a type that is not coded, show "" (use
// isCoded first to tell the two apart).
QString codedAnswerText(const QString& type, const QString& stored);

// The caption of the pick list a coded answer is chosen from.
QString answerCaption(const QString& type);

}  // namespace workspace::data_types
