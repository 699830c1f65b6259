#include "hostfw/error_display.h"
#include "hostfw/pick_list.h"
#include "hostfw/widgets/grid_columns.h"
#include "hostfw/widgets/pick_list_dialog.h"

#include "records/dataset.h"
#include "records/dataset_model.h"
#include "records/error.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTableView>
#include <QTest>

using namespace hostfw;
using namespace Qt::StringLiterals;

namespace {

// A reference list as the server sends it: code, name and a hidden description.
std::unique_ptr<records::DataSet> referenceList()
{
    const records::FieldList fields{
        {u"CDREFE"_s, records::FieldType::String, 2, u"Código"_s},
        {u"NMREFE"_s, records::FieldType::String, 60, u"Nome"_s},
        {u"DSREFE"_s, records::FieldType::String, 60, {}, true},
        {u"CDGRUPO"_s, records::FieldType::String, 2, u"Grupo"_s},
    };
    auto ds = std::make_unique<records::DataSet>(fields, u"cdsRefe"_s);
    records::Packet packet{fields, {}};
    packet.rows = {
        {u"01"_s, u"Frisancho"_s, u"a"_s, u"A"_s},
        {u"02"_s, u"Ávila"_s, u"b"_s, u"B"_s},
        {u"03"_s, u"Burr"_s, u"c"_s, u"A"_s},
        {u"04"_s, u"Bishop"_s, u"d"_s, u"A"_s},
    };
    ds->loadPacket(packet);
    return ds;
}

}  // namespace

TEST(PickCodes, JoinedWithUnderscores)
{
    EXPECT_EQ(JoinChosenCodes({u"001"_s, u"017"_s}), u"_001_017_"_s);
    EXPECT_EQ(JoinChosenCodes({}), QString());
    EXPECT_EQ(SplitChosenCodes(u"_001_017_"_s), (QStringList{u"001"_s, u"017"_s}));
    EXPECT_TRUE(SplitChosenCodes(u"_"_s).isEmpty());
    const PickRequest r = parsePickCaption(u"Referência|Não há referência cadastrada."_s);
    EXPECT_EQ(r.caption, u"Referência"_s);
    EXPECT_EQ(r.emptyMessage, u"Não há referência cadastrada."_s);
    EXPECT_EQ(parsePickCaption(u"Só título"_s).emptyMessage, QString());
}

TEST(Pesquisar, EmptyListShowsItsMessageAndPicksNothing)
{
    ErrorRecorder errors;
    auto ds = referenceList();
    ds->setFilter(u"CDGRUPO = 'Z'"_s);
    ds->setFiltered(true);
    PickScript script({PickAnswer::row(0)});
    EXPECT_FALSE(Pesquisar(*ds, u"Referência|Não há referência cadastrada."_s, false, true));
    EXPECT_EQ(errors.messages(), QStringList{u"Não há referência cadastrada."_s});
    EXPECT_TRUE(script.requests().isEmpty());  // no list was shown

    // Without any chooser (command line) nothing is picked.
    auto other = referenceList();
    {
        PickScript none;
        setPickListChooser(nullptr);
        EXPECT_FALSE(Pesquisar(*other, u"Referência|x"_s, false, true));
    }
}

TEST(PesquisaLista, ChosenCodesInAndOut)
{
    ErrorRecorder errors;
    auto ds = referenceList();
    ds->setFilter(u"CDGRUPO = 'A'"_s);
    ds->setFiltered(true);
    ds->moveTo(1);
    QString chosen = u"_04_01_"_s;
    // Codes outside the list and twins are dropped; the list's order is kept.
    PickScript script({PickAnswer::codes({u"04"_s, u"02"_s, u"01"_s, u"04"_s})});
    EXPECT_TRUE(
        PesquisaLista(*ds, u"Método|Não há método cadastrado."_s, u"CDREFE"_s, false, chosen));
    EXPECT_EQ(chosen, u"_01_04_"_s);
    EXPECT_EQ(script.requests().first().chosen, (QStringList{u"04"_s, u"01"_s}));
    EXPECT_EQ(ds->recNo(), 1);  // the cursor does not move

    // Confirming nothing empties the choice (cancelling is the dialog test's).
    script.next(PickAnswer::codes({}));
    EXPECT_TRUE(PesquisaLista(*ds, u"Método|x"_s, u"CDREFE"_s, false, chosen));
    EXPECT_EQ(chosen, QString());

    EXPECT_THROW(PesquisaLista(*ds, u"Método|x"_s, u"NAOEXISTE"_s, false, chosen), records::Error);
    EXPECT_TRUE(errors.messages().isEmpty());
}

TEST(PickListDialog, IncrementalSearchAndSearchColumn)
{
    auto ds = referenceList();
    ds->moveTo(2);
    PickListDialog dialog(*ds, parsePickCaption(u"Referência|x"_s), false);
    EXPECT_EQ(dialog.rowCount(), 4);
    EXPECT_EQ(dialog.table()->model()->columnCount(), 3);  // the hidden field is not shown
    EXPECT_EQ(dialog.currentRow(), 2);                     // opens on the current row

    dialog.setSearchColumn(1);
    QTest::keyClicks(dialog.searchBox(), u"bi"_s);
    EXPECT_EQ(dialog.currentRow(), 3);  // "Bishop": letter case aside
    dialog.search(u"avi"_s);
    EXPECT_EQ(dialog.currentRow(), 1);  // "Ávila": accents aside
    dialog.search(u"zz"_s);
    EXPECT_EQ(dialog.currentRow(), 1);  // nothing found: stays

    dialog.setSearchColumn(0);
    dialog.search(u"04"_s);
    EXPECT_EQ(dialog.currentRow(), 3);
    QTest::keyClick(dialog.searchBox(), Qt::Key_Up);
    EXPECT_EQ(dialog.currentRow(), 2);
}

TEST(PickListDialog, ModalDialogDrivenThroughTheNextChoice)
{
    auto ds = referenceList();
    DialogPickListChooser chooser;
    PickListChooser* previous = setPickListChooser(&chooser);

    PickListDialog::setNextChoice([](PickListDialog& dialog) {
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(dialog.isModal());
        dialog.search(u"Fri"_s);
        QTest::keyClick(dialog.searchBox(), Qt::Key_Return);
    });
    EXPECT_TRUE(Pesquisar(*ds, u"Referência|x"_s, false, true));
    EXPECT_EQ(ds->asString(u"CDREFE"_s), u"01"_s);

    PickListDialog::setNextChoice([](PickListDialog& dialog) {
        dialog.search(u"Burr"_s);
        dialog.reject();
    });
    EXPECT_FALSE(Pesquisar(*ds, u"Referência|x"_s, false, true));
    EXPECT_EQ(ds->asString(u"CDREFE"_s), u"01"_s);

    QString chosen = u"_02_"_s;
    PickListDialog::setNextChoice([](PickListDialog& dialog) {
        EXPECT_TRUE(dialog.isChecked(1));  // starts from the codes passed in
        dialog.setChecked(1, false);
        dialog.setCurrentRow(3);
        QTest::keyClick(dialog.table(), Qt::Key_Space);  // space marks the current row
        dialog.setChecked(0, true);
        dialog.accept();
    });
    EXPECT_TRUE(PesquisaLista(*ds, u"Método|x"_s, u"CDREFE"_s, false, chosen));
    EXPECT_EQ(chosen, u"_01_04_"_s);

    // A choice that does not close the dialog counts as Cancelar.
    PickListDialog::setNextChoice([](PickListDialog& dialog) { dialog.setChecked(2, true); });
    EXPECT_FALSE(PesquisaLista(*ds, u"Método|x"_s, u"CDREFE"_s, false, chosen));
    EXPECT_EQ(chosen, u"_01_04_"_s);

    setPickListChooser(previous);
}

TEST(IndiceCol, ColumnOfTheFieldInADatasetGrid)
{
    auto ds = referenceList();
    records::DataSetModel model(*ds);
    QTableView grid;
    EXPECT_EQ(IndiceCol(&grid, u"NMREFE"_s), -1);  // no dataset shown
    grid.setModel(&model);
    EXPECT_EQ(IndiceCol(&grid, u"nmrefe"_s), 1);
    EXPECT_EQ(IndiceCol(&grid, u"DSREFE"_s), -1);  // hidden
    EXPECT_EQ(IndiceCol(&grid, u"NADA"_s), -1);
}
