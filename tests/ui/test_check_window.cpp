// SPDX-License-Identifier: MIT
// Check olympiad in the main window and the overview: the report lists what the core check
// finds, row for row, and a row selects its task in the overview; an export stops on a number
// held twice.
#include "core/olympiad/tree_check.hpp"
#include "core/render/render.hpp"
#include "support/sample_tasks.hpp"
#include "ui/common/text_bridge.hpp"
#include "ui/main/olympiad_report.hpp"
#include "ui/main/overview.hpp"
#include "ui/support/ui_fixture.hpp"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

namespace fs = std::filesystem;
using namespace kavo::test;
using namespace Qt::Literals::StringLiterals;
using kavo::model::TaskKind;

namespace {

struct CheckWindow : UiFixture {
    fs::path out() const { return dir.path() / "Year"; }
    void write(kavo::model::Task task, kavo::model::PartSizes sizes) const {
        task.condition = "Task " + std::to_string(task.number) + ": how much is 2 + 2?";
        kavo::render::writePackage(
            out(),
            kavo::render::renderTask(task, {out(), sizes}, systemFolder(), kavo::Lang::English));
    }
    // A tree with number 4 in PartA and PartB, and task 2 missing its picture.
    void faultyTree() const {
        write(formTask(TaskKind::SingleChoice, 1), {3, 3, 2});
        auto pictured = formTask(TaskKind::TypedAnswer, 2);
        pictured.picture = true;
        write(pictured, {3, 3, 2});
        write(formTask(TaskKind::TypedAnswer, 3), {3, 3, 2});
        write(formTask(TaskKind::TypedAnswer, 4), {3, 3, 2});
        write(formTask(TaskKind::MultipleChoice, 4), {4, 4, 2});
    }
    static QStringList texts(const QListWidget* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
};

} // namespace

TEST_F(CheckWindow, ReportListsTheCoreRowsAndSelectsTheTaskInTheOverview) {
    for (const auto& [language, lang] :
         {std::pair{"En\r\n", kavo::Lang::English}, std::pair{"Rus\r\n", kavo::Lang::Russian}}) {
        SCOPED_TRACE(language);
        prepare(language);
        writeBytes(systemFolder() / "Authorisation" / "save.txt", "0\r\n");
        faultyTree();
        const std::string before = listTree(out());
        ASSERT_TRUE(start());
        trigger("CheckOlympiad1");
        TOlympiadReport* report = form1()->olympiadReport();
        ASSERT_NE(report, nullptr);
        EXPECT_TRUE(report->isVisible());
        EXPECT_FALSE(report->Write->isVisible());

        // The rows the command line prints, in the same words and order.
        const auto check =
            kavo::olympiad::checkTree(kavo::render::TemplateSet::load(systemFolder()), out(), lang);
        QStringList errors, warnings;
        for (const auto& row : check.rows)
            (row.severity == kavo::olympiad::Severity::Error ? errors : warnings)
                << QString::fromStdString(kavo::olympiad::rowText(row, lang));
        EXPECT_EQ(texts(report->Errors), errors);
        EXPECT_EQ(texts(report->Warnings), warnings);
        ASSERT_EQ(errors.size(), 3) << errors.join(u'\n').toStdString();
        EXPECT_TRUE(errors[0].startsWith(u"PartA/2: "_s));
        EXPECT_TRUE(errors[1].startsWith(u"PartA/4: "_s));
        EXPECT_TRUE(errors[2].startsWith(u"PartB/4: "_s));

        // A row selects its task in the overview, which opens for it.
        report->Errors->setCurrentRow(2);
        auto* overview = form1()->findChild<TOverview*>(u"Overview"_s);
        ASSERT_NE(overview, nullptr);
        EXPECT_TRUE(overview->isVisible());
        const int selected = overview->Table1->currentRow();
        ASSERT_GE(selected, 0);
        EXPECT_EQ(overview->rows()[static_cast<std::size_t>(selected)].folder, fs::path("PartB/4"));
        report->Errors->setCurrentRow(0);
        EXPECT_EQ(overview->rows()[static_cast<std::size_t>(overview->Table1->currentRow())].folder,
                  fs::path("PartA/2"));
        // The overview marks both folders of number 4 in red and shows the conditions.
        for (const auto& row : overview->rows())
            EXPECT_EQ(row.problem.empty(), row.number != 4) << row.folder;
        EXPECT_TRUE(overview->Table1->item(0, 7)->text().startsWith(u"Task 1:"_s));
        EXPECT_EQ(listTree(out()), before) << "a check writes nothing";
        EXPECT_TRUE(platform.errors().isEmpty()) << platform.errors().join(u'\n').toStdString();
        report->close();
        overview->close();
        program.reset();
    }
}

TEST_F(CheckWindow, ExportStopsOnANumberHeldTwice) {
    prepare("En\r\n");
    writeBytes(systemFolder() / "Authorisation" / "save.txt", "0\r\n");
    faultyTree();
    ASSERT_TRUE(start());
    platform.fileAnswers.push_back(kavo::app::fromPath(dir.path() / "olympiad.gift"));
    trigger("ExportGift1");
    EXPECT_FALSE(fs::exists(dir.path() / "olympiad.gift"));
    TOlympiadReport* report = form1()->olympiadReport();
    ASSERT_NE(report, nullptr);
    EXPECT_TRUE(report->Summary->text().startsWith(u"The export is stopped, nothing is written"_s));
    EXPECT_EQ(report->Errors->count(), 3);
}
