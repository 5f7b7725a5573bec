#include <gtest/gtest.h>

#include <string>

#include "ArchiveTest.h"
#include "store/DbError.h"
#include "store/RowSource.h"

using store::EditMode;
using store::RowSource;
using store::Value;

namespace {

template <typename F>
int errorNumber(F f) {
    try {
        f();
    } catch (const store::DbError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace

class RowSourceTest : public ArchiveTest {
protected:
    void SetUp() override {
        ArchiveTest::SetUp();
        addDomanda("A001012005AB1", "ROSSI", "MARIO", "1", 100.0);
        addDomanda("A001012005AB2", "ROSSI", "ANNA", Value(), 50.0);
        addDomanda("A001012005AB3", "", "LUCA");
    }
};

TEST_F(RowSourceTest, SavedInsertionIsListedLastButNotCurrent) {
    RowSource rs(db_, "domanda");
    rs.requery();
    rs.moveNext();
    rs.addNew();
    EXPECT_EQ(rs.editMode(), EditMode::Adding);
    EXPECT_TRUE(rs.field("NumRepertorio").isNull());
    rs.setField("numrepertorio", "A001012005AB4");
    rs.setField("CognomeRich", "VERDI");
    EXPECT_EQ(rs.field("CognomeRich"), Value("VERDI"));
    rs.update();
    EXPECT_EQ(rs.editMode(), EditMode::None);
    EXPECT_EQ(rs.position(), 1);
    EXPECT_EQ(rs.field("NumRepertorio"), Value("A001012005AB2"));
    EXPECT_EQ(rs.recordCount(), 4);

    ASSERT_TRUE(rs.findFirst("NumRepertorio='A001012005AB4'"));
    EXPECT_EQ(rs.position(), 3);
    EXPECT_EQ(rs.field("CognomeRich"), Value("VERDI"));
    EXPECT_TRUE(rs.field("FlagDomandaOK").isNull());
}

TEST_F(RowSourceTest, NewRowStartsFromTheTableDefaults) {
    RowSource config(db_, "Configurazione");
    config.requery();
    EXPECT_TRUE(config.bof() && config.eof());
    config.addNew();
    EXPECT_EQ(config.field("ImpoCoFinanz"), Value(0.0));
    EXPECT_TRUE(config.field("Utente").isNull());
    config.setField("Utente", "operatore");
    config.update();
    EXPECT_EQ(config.recordCount(), 1);
    EXPECT_EQ(config.position(), -1);
    config.moveFirst();
    EXPECT_EQ(config.field("PercContribConc").toText(), "0.0");
    EXPECT_EQ(config.field("Utente"), Value("operatore"));
}

TEST_F(RowSourceTest, CancelDropsThePendingRow) {
    RowSource rs(db_, "Domanda");
    rs.requery();
    rs.addNew();
    rs.setField("NumRepertorio", "A001012005AB9");
    rs.cancelUpdate();
    EXPECT_EQ(rs.editMode(), EditMode::None);
    EXPECT_EQ(rs.field("NumRepertorio"), Value("A001012005AB1"));
    rs.addNew();
    rs.moveFirst();  // leaving the row drops it too
    EXPECT_EQ(rs.editMode(), EditMode::None);
    EXPECT_EQ(db_.query("select count(*) from Domanda").rows[0][0].toInt(), 3);
}

TEST_F(RowSourceTest, EditWritesTheAssignedFields) {
    RowSource rs(db_, "Domanda");
    ASSERT_TRUE(rs.findFirst("NumRepertorio='A001012005AB2'"));
    rs.edit();
    EXPECT_EQ(rs.editMode(), EditMode::Editing);
    rs.setField("ContribConcesso", 25.5);
    rs.setField("FlagDomandaOK", "0");
    rs.update();
    EXPECT_EQ(rs.field("ContribConcesso"), Value(25.5));
    EXPECT_EQ(rs.field("NomeRich"), Value("ANNA"));
    EXPECT_EQ(db_.query("select FlagDomandaOK from Domanda where NumRepertorio='A001012005AB2'")
                  .rows[0][0],
              Value("0"));
}

TEST_F(RowSourceTest, FindWithoutMatchKeepsTheCurrentRow) {
    RowSource rs(db_, "Domanda");
    rs.requery();
    rs.moveTo(2);
    EXPECT_FALSE(rs.findFirst("NumRepertorio='A001012005AB99'"));
    EXPECT_EQ(rs.position(), 2);
    EXPECT_EQ(rs.field("CognomeRich"), Value(""));
}

TEST_F(RowSourceTest, QuerySourcesFindInTheirOwnOrder) {
    RowSource rs(db_,
                 "select * from qryFormRicerca  where ucase(left(CognomeRich, 3)) =\"ROS\" "
                 "order by CognomeRich, NomeRich ");
    rs.requery();
    ASSERT_EQ(rs.recordCount(), 2);
    EXPECT_EQ(rs.fieldAt(0, "NomeRich"), Value("ANNA"));
    ASSERT_TRUE(rs.findFirst("CognomeRich=\"ROSSI\""));
    EXPECT_EQ(rs.position(), 0);
    ASSERT_TRUE(rs.findFirst("NumRepertorio='A001012005AB1'"));
    EXPECT_EQ(rs.position(), 1);
    EXPECT_EQ(rs.field("ContribComplessivo"), Value(0.0));
}

TEST_F(RowSourceTest, BoundValuesSelectAndFindWhateverTheirQuotes) {
    addDomanda("A001012005AB4", "D'ANGELO", "PIA");
    RowSource table(db_, "Domanda");
    RowSource query(db_, "");
    query.setSource("select * from Domanda where CognomeRich <> ? order by NumRepertorio",
                    {"VERDI"});
    for (RowSource* rs : {&table, &query}) {
        rs->requery();
        ASSERT_TRUE(rs->findFirst("CognomeRich=? and NomeRich=?", {"D'ANGELO", "PIA"}));
        EXPECT_EQ(rs->field("NumRepertorio"), Value("A001012005AB4"));
        EXPECT_FALSE(rs->findFirst("CognomeRich=?", {"X' or '1'='1"}));
        EXPECT_EQ(rs->field("NumRepertorio"), Value("A001012005AB4"));
    }
    query.setSource("select * from Domanda where CognomeRich = ?", {"D'ANGELO"});
    query.requery();
    EXPECT_EQ(query.recordCount(), 1);
}

TEST_F(RowSourceTest, MisuseIsReportedAsDbError) {
    RowSource query(db_, "qryFormRicerca");
    query.requery();
    EXPECT_EQ(errorNumber([&] { query.addNew(); }), store::kErrNotUpdatable);
    EXPECT_EQ(errorNumber([&] { query.field("Nessuno"); }), store::kErrUnknownField);
    EXPECT_EQ(errorNumber([&] { query.setField("NomeRich", "X"); }), store::kErrNoPendingRow);

    RowSource empty(db_, "select * from Domanda where 1=0");
    empty.requery();
    EXPECT_EQ(errorNumber([&] { empty.field("NomeRich"); }), store::kErrNoCurrentRow);

    RowSource table(db_, "Domanda");
    table.requery();
    table.addNew();
    table.setField("NumRepertorio", "A001012005AB1");  // already stored
    EXPECT_EQ(errorNumber([&] { table.update(); }), 19);
    EXPECT_EQ(table.editMode(), EditMode::Adding);
}
