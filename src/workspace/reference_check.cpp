// The reference check the method lists share.

#include "reference_check.h"
#include "assessment_form.h"
#include "workspace_messages.h"

#include "hostfw/error_display.h"
#include "hostfw/reply_check.h"
#include "hostfw/text.h"
#include "records/catalogue_descriptors.h"
#include "records/packet_codec.h"

namespace workspace {

namespace {

const QString kCode = QStringLiteral("CDTABELACO");

// The method whose reference list a method uses (some ideal weights share the list of
// the body mass index with theoretical weights).
QString referenceOwner(const QString& method)
{
    const records::MethodDescriptor* descriptor = records::findMethodDescriptor(method);
    return descriptor ? descriptor->referenceOwner() : method;
}

}  // namespace

records::DataSet& fetchReferences(AssessmentForm& form, const QString& useFlag, const QString& code,
                                  const QString& method)
{
    if (useFlag == u"2") {
        form.cdsRefePeso.loadPacket(records::decodePacket(
            hostfw::CheckResultServ(form.netAvalNutrEnerg.GetRefePeso(code), true, 0)));
        return form.cdsRefePeso;
    }
    if (useFlag == u"3") {
        form.cdsRefeOssa.loadPacket(records::decodePacket(
            hostfw::CheckResultServ(form.netAvalNutrEnerg.GetRefeOssa(code), true, 0)));
        return form.cdsRefeOssa;
    }
    form.cdsRefeMeto.loadPacket(records::decodePacket(hostfw::CheckResultServ(
        form.netAvalNutrEnerg.GetRefeMeto(code, referenceOwner(method)), true, 0)));
    return form.cdsRefeMeto;
}

void checkReference(AssessmentForm& form, records::DataSet& methods, bool referenceRequired,
                    bool inReferenceColumn, const QString& useFlag)
{
    if (!methods.isEditing())
        return;
    QString code = methods.asString(kCode);
    if (!hostfw::EmptyString(code)) {
        code = hostfw::Ajusta(hostfw::AllTrim(code), 2);
        methods.setValue(kCode, code);
    }
    const bool selected = methods.asString(QStringLiteral("IDTABELAAV")) == u"S";
    if (!selected && hostfw::EmptyString(code))
        return;
    const QString method = methods.asString(QStringLiteral("CDTBMETOAVAL"));
    if (useFlag != u"1" && useFlag != u"2" && useFlag != u"3")
        return;
    if (selected && hostfw::EmptyString(code) && referenceRequired)
        hostfw::MensErro(msgPadrao().Msg(QStringLiteral("Refe_Inf")), true);
    const bool lookUp = selected ? (!referenceRequired || inReferenceColumn) : inReferenceColumn;
    if (!lookUp)
        return;
    records::DataSet& references = fetchReferences(form, useFlag, code, method);
    if (references.isEmpty())
        hostfw::MensErro(msgPadrao().Msg(QStringLiteral("Refe_NCad")), true);
    references.first();
    methods.setValue(kCode, references.asString(QStringLiteral("CDREFEBIBL")));
    methods.setValue(QStringLiteral("NMREFEBIBL"),
                     references.asString(QStringLiteral("NMREFEBIBL")));
}

}  // namespace workspace
