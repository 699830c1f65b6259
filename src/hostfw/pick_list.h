#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace records {
class DataSet;
}

namespace hostfw {

// What a pick list shows: the caption, the text shown instead of an empty list, and
// for a multiple choice the field whose values are chosen and the values chosen when
// it opens.
struct PickRequest
{
    QString caption;
    QString emptyMessage;
    QString keyField;
    QStringList chosen;
};

// "Referência|Não há referência cadastrada." split at the first bar into caption and
// empty-list message (no bar: a caption only).
PickRequest parsePickCaption(const QString& captionAndEmpty);

// The text of a multiple choice: each code preceded by an underscore and one more at
// the end ("_001_017_"); empty when nothing is chosen.
QString JoinChosenCodes(const QStringList& codes);
QStringList SplitChosenCodes(const QString& text);

// Shows a pick list over the visible rows of a dataset. The widget layer installs the
// dialogs; without one (command line) nothing is picked.
class PickListChooser
{
public:
    virtual ~PickListChooser() = default;
    // The visible row picked, or nothing when the user gave up.
    virtual std::optional<int> chooseOne(const records::DataSet& dataSet,
                                         const PickRequest& request) = 0;
    // The key values chosen, or nothing when the user gave up.
    virtual std::optional<QStringList> chooseMany(const records::DataSet& dataSet,
                                                  const PickRequest& request) = 0;
};

// Installs the chooser (not owned; null for none) and returns the previous one.
PickListChooser* setPickListChooser(PickListChooser* chooser);

// Single choice over the dataset's visible rows. An empty list shows the empty-list
// message (the caller goes on) and picks nothing. True when a row was picked, with the
// dataset positioned on it; on false the dataset stays where it was. The two flags are
// kept for the call shape (dataset, "caption|empty message", false, true) and change
// nothing.
bool Pesquisar(records::DataSet& dataSet, const QString& captionAndEmpty, bool = false,
               bool = true);

// Multiple choice of the keyField values of the dataset's visible rows, starting from
// the codes in chosenCodes ("_01_05_"). True when the user confirmed: chosenCodes then
// holds the new choice in the list's order (empty when none was chosen). On false, or
// for an empty list (whose message is shown), chosenCodes is unchanged. The dataset's
// cursor does not move. Throws records::Error for a key field the dataset lacks.
bool PesquisaLista(records::DataSet& dataSet, const QString& captionAndEmpty,
                   const QString& keyField, bool, QString& chosenCodes);

// One scripted answer of a pick list.
class PickAnswer
{
public:
    static PickAnswer row(int visibleRow);
    // The first visible row whose field shows this text.
    static PickAnswer where(const QString& field, const QString& text);
    static PickAnswer codes(const QStringList& codes);
    static PickAnswer cancel();

private:
    friend class PickScript;
    enum class Kind
    {
        Row,
        Where,
        Codes,
        Cancel
    };
    Kind m_kind = Kind::Cancel;
    int m_row = -1;
    QString m_field;
    QString m_text;
    QStringList m_codes;
};

// Test seam: answers pick lists from a queue of answers without showing anything
// (cancel once the queue is used up), and records every request, for as long as it
// lives. A Codes answer keeps only codes the list holds; a Row or Where answer that
// matches no row gives up.
class PickScript : public PickListChooser
{
public:
    explicit PickScript(QList<PickAnswer> answers = {});
    ~PickScript() override;
    PickScript(const PickScript&) = delete;
    PickScript& operator=(const PickScript&) = delete;

    void next(const PickAnswer& answer) { m_answers.append(answer); }
    const QList<PickRequest>& requests() const { return m_requests; }

    std::optional<int> chooseOne(const records::DataSet& dataSet,
                                 const PickRequest& request) override;
    std::optional<QStringList> chooseMany(const records::DataSet& dataSet,
                                          const PickRequest& request) override;

private:
    PickAnswer takeAnswer();

    QList<PickAnswer> m_answers;
    QList<PickRequest> m_requests;
    PickListChooser* m_previous;
};

}  // namespace hostfw
