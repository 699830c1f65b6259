#pragma once

// What the data-entry grid knows about each data type: which ones are numbers, which
// hold a coded answer chosen from a list, and how a coded answer is shown.

#include <QString>

namespace workspace::data_types {

// Edema of ankle, knee, thigh root and anasarca ("40" to "43"): "0" or "1".
bool isEdema(const QString& type);
// Amputated limb parts ("44" to "50"): "1" marks the part, the unit holds the limbs.
bool isAmputation(const QString& type);
bool isUpperLimb(const QString& type);  // hand, forearm, arm ("44" to "46")
bool isLowerLimb(const QString& type);  // foot to whole leg ("47" to "50")
// Measurements that must be numbers when posted: "01" to "11", "14", "15", "16", "35".
bool isNumeric(const QString& type);
// Rows whose answer is a code from a list: time "36", edema, limbs, trimesters "26"
// and "52", physical activity level "51".
bool isCoded(const QString& type);
// The observed stage of sexual maturation ("37"), written only by its dialog.
bool isMaturation(const QString& type);
// Weight ("01") and height ("02"), which the estimate dialog can fill.
bool isEstimable(const QString& type);
// Gestational week ("53"): whole weeks, no decimal separator.
bool isWholeNumber(const QString& type);

// The text a coded answer is shown with: the code is the first character of the stored
// value; a code the type's table lacks, and a type that is not coded, show "" (use
// isCoded first to tell the two apart).
QString codedAnswerText(const QString& type, const QString& stored);

// The caption of the pick list a coded answer is chosen from.
QString answerCaption(const QString& type);

}  // namespace workspace::data_types
