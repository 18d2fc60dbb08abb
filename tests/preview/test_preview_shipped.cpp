// SPDX-License-Identifier: MIT
// The preview of packages written from the shipped System_folder: every server tag made
// static, the page's references pointed at the task's own webfiles folder.
#include "core/common/files.hpp"
#include "core/edits/edits_task.hpp"
#include "core/review/preview.hpp"
#include "core/tasks/add_task.hpp"
#include "support/test_support.hpp"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace kavo;
using namespace kavo::review;
using kavo::test::readBytes;
using kavo::test::TempDir;

namespace {

std::size_t count(std::string_view text, std::string_view what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string_view::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// The static page as the chain of seven replacements made it before the preview became one pass.
Text chainOfReplacements(const PreviewTemplates& t, std::string_view page, std::string_view url) {
    Text out = replaceAll(page, t.table, t.head);
    out = replaceAll(out, "<%next()%>", "");
    out = replaceAll(out, "<%store_count()%>", "");
    out = replaceAll(out, t.input_str, t.input);
    out = replaceAll(out, "<%radio()%>", t.radio);
    out = replaceAll(out, "<%check()%>", t.check);
    return replaceAll(out, "webfiles/", url) + t.buttom;
}

// The local path a file: URL names.
fs::path pathOf(std::string_view url) {
    EXPECT_EQ(url.rfind("file://", 0), 0u);
    url.remove_prefix(7);
    std::string bytes;
    for (std::size_t i = 0; i < url.size(); ++i)
        if (url[i] == '%' && i + 2 < url.size()) {
            bytes += static_cast<char>(std::stoi(std::string(url.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            bytes += url[i];
        }
    return fs::path(std::u8string(bytes.begin(), bytes.end()));
}

struct Shipped : ::testing::Test {
    TempDir dir;
    fs::path output = dir.path() / "Year";
    fs::path out() const { return output; }
    PreviewTemplates templates;

    void SetUp() override {
        kavo::test::copySystemFolder(dir.path());
        kavo::test::writeBytes(dir.path() / "System_folder" / "Authorisation" / "save.txt",
                               "0\r\n");
        templates = readPreviewTemplates(dir.path());
    }

    // Previews number n with the part sizes a, b, c and returns buf.html.
    std::string preview(std::int32_t a, std::int32_t b, std::int32_t c, int n) {
        const auto result =
            previewTask({kavo::Lang::English, dir.path(), n - 1, a + b + c, [&](std::int64_t k) {
                             const auto place = kavo::model::Olympiad{out(), {a, b, c}}.place(k);
                             return std::optional<fs::path>(out() / place->folder);
                         }});
        EXPECT_EQ(result.message, "");
        EXPECT_EQ(result.url, fileUrl(dir.path() / "buf.html"));
        return readBytes(dir.path() / "buf.html");
    }

    // What every preview must hold: a whole static page whose references point at folder.
    void expectStatic(const std::string& page, const fs::path& folder) {
        const std::string url = folderUrl(folder / "webfiles");
        EXPECT_EQ(page.find("<%"), std::string::npos) << page;
        EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u) << page;
        const std::string tail = templates.buttom + "\r\n";
        ASSERT_GE(page.size(), tail.size());
        EXPECT_EQ(page.substr(page.size() - tail.size()), tail);
        // Every reference to webfiles/ is the task's own folder.
        EXPECT_EQ(count(replaceAll(page, url, ""), "webfiles/"),
                  count(templates.buttom, "webfiles/"));
        EXPECT_EQ(count(page, templates.input_str), 0u);
        EXPECT_EQ(count(page, templates.table), 1u) << "the head's own table opens the page";
        EXPECT_EQ(page,
                  chainOfReplacements(templates, readText(folder / "task.asp"), url) + "\r\n");
    }
};

} // namespace

// A valid task form for number n of the sizes a, b, c.
tasks::TaskForm formFor(int a, int b, int c, int n) {
    auto form = tasks::makeStartForm();
    for (int i = 1; i <= a + b + c; ++i)
        form.ListBox1.items.push_back(std::to_string(i));
    form.ListBox1.selected = n - 1;
    form.Edit2 = std::to_string(a);
    form.Edit3 = std::to_string(b);
    form.Edit4 = std::to_string(c);
    form.ListBox2.selected = 0; // with a picture: the page refers to webfiles/
    form.picture = "\xFF\xD8\xFF\xE0";
    form.ListBox3.selected = 1;
    form.Memo1 = "Condition <img src=\"webfiles/own.png\"> 3 < 5% of <i>x</i> webfiles";
    form.VariantOtveta_1 = "Alpha";
    form.VariantOtveta_2 = "Bravo";
    form.VariantOtveta_3 = "Charlie";
    form.VariantOtveta_4 = "Delta";
    form.VariantOtveta_5 = "Echo";
    form.Edit1 = "a";
    return form;
}

TEST_F(Shipped, EveryTemplateFamilyPreviewsAsAStaticPage) {
    struct Case {
        const char* name;
        void (*change)(tasks::TaskForm&);
        std::size_t radios, checks, inputs;
    };
    const Case cases[] = {
        {"single choice", [](tasks::TaskForm&) {}, 5, 0, 0},
        {"single choice, D and E removed",
         [](tasks::TaskForm& f) { f.CheckBox2 = f.CheckBox3 = true; }, 3, 0, 0},
        {"typed answer",
         [](tasks::TaskForm& f) {
             f.VariantOtveta_1.clear();
             f.Edit1 = "42";
         },
         0, 0, 1},
        {"folded answers", [](tasks::TaskForm& f) { f.ListBox3.selected = 0; }, 5, 0, 0},
        {"multiple choice", [](tasks::TaskForm& f) { f.Edit1 = "a,c"; }, 0, 5, 0},
        {"multiple choice, folded",
         [](tasks::TaskForm& f) {
             f.Edit1 = "b,e";
             f.ListBox3.selected = 0;
         },
         0, 5, 0},
        {"multiple choice, E removed",
         [](tasks::TaskForm& f) {
             f.Edit1 = "a,b";
             f.CheckBox3 = true;
         },
         0, 4, 0},
    };
    // Sizes 3, 2, 1 and number 4: the task lies in PartB/4.
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto form = formFor(3, 2, 1, 4);
        c.change(form);
        const auto written = tasks::addTask(form, {kavo::Lang::English, dir.path(), out(), 6});
        ASSERT_TRUE(written.written) << written.message;
        const std::string page = preview(3, 2, 1, 4);
        expectStatic(page, out() / "PartB" / "4");
        EXPECT_EQ(count(page, templates.radio), c.radios);
        EXPECT_EQ(count(page, templates.check), c.checks);
        EXPECT_EQ(count(page, templates.input), c.inputs);
        EXPECT_NE(page.find("Condition <img src=\"" +
                            folderUrl(out() / "PartB" / "4" / "webfiles") + "own.png\">"),
                  std::string::npos);
        for (const char* variant : {"Alpha", "Bravo", "Charlie"})
            EXPECT_EQ(c.inputs == 0, page.find(variant) != std::string::npos) << variant;
    }
}

TEST_F(Shipped, AFolderNameWithSpaceHashAndCyrillicGivesAWorkingUrl) {
    // Sizes 5, 0, 0 and number 2: the task lies directly in the folder 2.
    output = dir.path() / u8"Мои задачи #1";
    auto form = formFor(5, 0, 0, 2);
    ASSERT_TRUE(tasks::addTask(form, {kavo::Lang::English, dir.path(), out(), 5}).written);
    const std::string page = preview(5, 0, 0, 2);
    expectStatic(page, out() / "2");
    const std::string url = folderUrl(out() / "2" / "webfiles");
    EXPECT_NE(url.find("/%D0%9C%D0%BE%D0%B8%20%D0%B7%D0%B0%D0%B4%D0%B0%D1%87%D0%B8%20%231/2/"
                       "webfiles/"),
              std::string::npos)
        << url;
    EXPECT_EQ(pathOf(url), out() / "2" / "webfiles/");
    EXPECT_TRUE(fs::is_directory(pathOf(url)));
    EXPECT_TRUE(fs::is_regular_file(pathOf(fileUrl(dir.path() / "buf.html"))));
}

TEST_F(Shipped, EveryEditsVariantPreviewsAsAStaticPage) {
    const auto edits = kavo::edits::readEditsTemplates(dir.path());
    const std::pair<bool, bool> boxes[] = {{false, false}, {false, true}, {true, true}};
    // Sizes 3, 2, 1 and number 4: the task lies in PartB/4.
    for (const auto& [removeC, removeD] : boxes) {
        const int questions = kavo::edits::subQuestionCount(removeC, removeD);
        SCOPED_TRACE(questions);
        kavo::edits::EditsForm form;
        form.Memo1 = "Main <img src=\"webfiles/m.png\">";
        form.Memo2 = "A";
        form.Memo3 = "B";
        form.Memo4 = "C";
        form.Memo5 = "D";
        form.Edit1 = "1";
        form.Edit2 = "2";
        form.Edit3 = "3";
        form.Edit4 = "4";
        form.Edit5 = "PartB\\4";
        form.Edit6 = "Name";
        form.CheckBox1 = removeC;
        form.CheckBox2 = removeD;
        ASSERT_TRUE(kavo::edits::saveEditsTask(form, edits, kavo::model::Olympiad{out(), {}},
                                               kavo::Lang::English)
                        .written);
        const std::string page = preview(3, 2, 1, 4);
        expectStatic(page, out() / "PartB" / "4");
        EXPECT_EQ(count(page, templates.input), static_cast<std::size_t>(questions));
        EXPECT_NE(page.find("Main <img src=\"" + folderUrl(out() / "PartB" / "4" / "webfiles") +
                            "m.png\">"),
                  std::string::npos);
    }
}
