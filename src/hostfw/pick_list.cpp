#include "hostfw/pick_list.h"

#include "hostfw/error_display.h"

#include "records/dataset.h"
#include "records/error.h"

namespace hostfw {

namespace {

PickListChooser*& currentChooser()
{
    static PickListChooser* chooser = nullptr;
    return chooser;
}

bool showEmptyList(const records::DataSet& dataSet, const PickRequest& request)
{
    if (!dataSet.isEmpty())
        return false;
    if (!request.emptyMessage.isEmpty())
        MensErro(request.emptyMessage, false);
    return true;
}

}  // namespace

PickRequest parsePickCaption(const QString& captionAndEmpty)
{
    PickRequest request;
    const qsizetype bar = captionAndEmpty.indexOf(u'|');
    request.caption = bar < 0 ? captionAndEmpty : captionAndEmpty.left(bar);
    if (bar >= 0)
        request.emptyMessage = captionAndEmpty.mid(bar + 1);
    return request;
}

QString JoinChosenCodes(const QStringList& codes)
{
    if (codes.isEmpty())
        return {};
    return u'_' + codes.join(u'_') + u'_';
}

QStringList SplitChosenCodes(const QString& text)
{
    return text.split(u'_', Qt::SkipEmptyParts);
}

PickListChooser* setPickListChooser(PickListChooser* chooser)
{
    PickListChooser* previous = currentChooser();
    currentChooser() = chooser;
    return previous;
}

bool Pesquisar(records::DataSet& dataSet, const QString& captionAndEmpty, bool, bool)
{
    const PickRequest request = parsePickCaption(captionAndEmpty);
    if (showEmptyList(dataSet, request) || !currentChooser())
        return false;
    const std::optional<int> row = currentChooser()->chooseOne(dataSet, request);
    if (!row || *row < 0 || *row >= dataSet.recordCount())
        return false;
    return dataSet.moveTo(*row);
}

bool PesquisaLista(records::DataSet& dataSet, const QString& captionAndEmpty,
                   const QString& keyField, bool, QString& chosenCodes)
{
    if (!dataSet.hasField(keyField))
        throw records::Error(
            QStringLiteral("Campo %1 não existe na lista %2.").arg(keyField, dataSet.name()));
    PickRequest request = parsePickCaption(captionAndEmpty);
    request.keyField = keyField;
    request.chosen = SplitChosenCodes(chosenCodes);
    if (showEmptyList(dataSet, request) || !currentChooser())
        return false;
    const std::optional<QStringList> codes = currentChooser()->chooseMany(dataSet, request);
    if (!codes)
        return false;
    // The choice in the order of the list, each code once.
    QStringList ordered;
    for (int row = 0; row < dataSet.recordCount(); ++row) {
        const QString code = dataSet.asStringAt(row, keyField);
        if (codes->contains(code) && !ordered.contains(code))
            ordered.append(code);
    }
    chosenCodes = JoinChosenCodes(ordered);
    return true;
}

PickAnswer PickAnswer::row(int visibleRow)
{
    PickAnswer a;
    a.m_kind = Kind::Row;
    a.m_row = visibleRow;
    return a;
}

PickAnswer PickAnswer::where(const QString& field, const QString& text)
{
    PickAnswer a;
    a.m_kind = Kind::Where;
    a.m_field = field;
    a.m_text = text;
    return a;
}

PickAnswer PickAnswer::codes(const QStringList& codes)
{
    PickAnswer a;
    a.m_kind = Kind::Codes;
    a.m_codes = codes;
    return a;
}

PickAnswer PickAnswer::cancel()
{
    return PickAnswer();
}

PickScript::PickScript(QList<PickAnswer> answers)
    : m_answers(std::move(answers)),
      m_previous(setPickListChooser(this))
{
}

PickScript::~PickScript()
{
    setPickListChooser(m_previous);
}

PickAnswer PickScript::takeAnswer()
{
    return m_answers.isEmpty() ? PickAnswer::cancel() : m_answers.takeFirst();
}

std::optional<int> PickScript::chooseOne(const records::DataSet& dataSet,
                                         const PickRequest& request)
{
    m_requests.append(request);
    const PickAnswer answer = takeAnswer();
    switch (answer.m_kind) {
    case PickAnswer::Kind::Row:
        if (answer.m_row >= 0 && answer.m_row < dataSet.recordCount())
            return answer.m_row;
        return std::nullopt;
    case PickAnswer::Kind::Where:
        for (int row = 0; row < dataSet.recordCount(); ++row) {
            if (dataSet.asStringAt(row, answer.m_field) == answer.m_text)
                return row;
        }
        return std::nullopt;
    case PickAnswer::Kind::Codes:
    case PickAnswer::Kind::Cancel:
        break;
    }
    return std::nullopt;
}

std::optional<QStringList> PickScript::chooseMany(const records::DataSet& dataSet,
                                                  const PickRequest& request)
{
    m_requests.append(request);
    const PickAnswer answer = takeAnswer();
    if (answer.m_kind != PickAnswer::Kind::Codes)
        return std::nullopt;
    QStringList held;
    for (int row = 0; row < dataSet.recordCount(); ++row) {
        const QString code = dataSet.asStringAt(row, request.keyField);
        if (answer.m_codes.contains(code))
            held.append(code);
    }
    return held;
}

}  // namespace hostfw
