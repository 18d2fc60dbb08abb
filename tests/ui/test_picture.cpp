// SPDX-License-Identifier: MIT
// The picture of a task through the real main window: chosen as a JPEG or PNG file, written
// as webfiles/picture.jpg, kept on a rewrite, forgotten with picture No, and missing in the
// preview. What is kept or dropped on a write is the logic's (AddTask picture tests).
#include "core/common/messages.hpp"
#include "ui/common/text_bridge.hpp"
#include "ui/support/ui_fixture.hpp"

#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace fs = std::filesystem;
using namespace kavo::test;
using namespace Qt::Literals::StringLiterals;

namespace {

struct Picture : UiFixture {
    fs::path out() const { return dir.path() / "Year"; }
    fs::path pictureOf(int number) const {
        return out() / std::to_string(number) / "webfiles" / "picture.jpg";
    }
    QString label() const { return find<QLabel>("Label21")->text(); }
    bool chooserEnabled() const { return find<QPushButton>("Button9")->isEnabled(); }

    void startReady() {
        prepare("En\r\n");
        writeBytes(systemFolder() / "Authorisation" / "save.txt", "0\r\n");
        ASSERT_TRUE(start());
        enterSizes("3", "0", "0");
    }
    // Picks the file through the button, as the file chooser would answer.
    void choose(const fs::path& file) {
        platform.fileAnswers.push_back(kavo::app::fromPath(file));
        click("Button9");
    }
    // Number `row` + 1 with picture Yes, a single choice; `file` chosen when given.
    void addTask(int row, const std::optional<fs::path>& file = std::nullopt) {
        clickRow("ListBox1", row);
        clickRow("ListBox2", 0);
        clickRow("ListBox3", 1);
        if (file)
            choose(*file);
        type("Memo1", "How much is 2 + 2?");
        const char* variants[] = {"3", "4", "5", "6", "22"};
        for (int i = 0; i < 5; ++i)
            type(("VariantOtveta_" + std::to_string(i + 1)).c_str(), variants[i]);
        type("Edit1", "b");
        click("Button1");
    }
};

// A picture file made with Qt: a red square with a transparent corner.
fs::path makePicture(const fs::path& file, const char* format) {
    QImage image(40, 30, QImage::Format_ARGB32);
    image.fill(Qt::red);
    for (int x = 0; x < 10; ++x)
        for (int y = 0; y < 10; ++y)
            image.setPixelColor(x, y, Qt::transparent);
    EXPECT_TRUE(image.save(kavo::app::fromPath(file), format));
    return file;
}

} // namespace

TEST_F(Picture, ChosenJpegAndPngAreWrittenAndARewriteKeepsThem) {
    startReady();
    const fs::path jpeg = makePicture(dir.path() / "photo.jpeg", "JPG");
    const fs::path png = makePicture(dir.path() / "drawing.png", "PNG");
    EXPECT_FALSE(chooserEnabled()); // no picture answer yet

    addTask(0, jpeg);
    addTask(1, png);
    EXPECT_TRUE(platform.boxes.empty()) << platform.boxes.front().text.toStdString();
    ASSERT_EQ(platform.fileRequests.size(), 2u);
    EXPECT_EQ(platform.fileRequests[0].mode, kavo::app::Platform::FileMode::Open);
    EXPECT_EQ(platform.fileRequests[0].filter, u"Pictures (*.jpg *.jpeg *.png)"_s);
    // The second chooser opens where the first picture was.
    EXPECT_EQ(platform.fileRequests[1].start, kavo::app::fromPath(dir.path()));

    // A JPEG as it is; a PNG converted, its transparent corner white.
    EXPECT_EQ(readBytes(pictureOf(1)), readBytes(jpeg));
    const std::string converted = readBytes(pictureOf(2));
    ASSERT_TRUE(converted.starts_with("\xFF\xD8\xFF"));
    QImage image;
    ASSERT_TRUE(image.loadFromData(QByteArray::fromStdString(converted), "JPG"));
    EXPECT_EQ(image.size(), QSize(40, 30));
    EXPECT_GT(qGray(image.pixel(2, 2)), 240);
    EXPECT_GT(qRed(image.pixel(30, 20)), 200);
    // The reset forgets the choice.
    EXPECT_EQ(label(), u""_s);
    EXPECT_FALSE(chooserEnabled());

    // Task 1 written again without a choice keeps its picture.
    platform.questionAnswers = {true}; // replace it
    addTask(0);
    EXPECT_EQ(readBytes(pictureOf(1)), readBytes(jpeg));
    EXPECT_EQ(platform.questions().size(), 1);
    EXPECT_TRUE(platform.informations().isEmpty());
}

TEST_F(Picture, BadFilesChangeNothingAndPictureNoForgetsTheChoice) {
    startReady();
    const fs::path jpeg = makePicture(dir.path() / "photo.jpg", "JPG");
    writeBytes(dir.path() / "notes.png", "not a picture");
    form1()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form1()));
    clickRow("ListBox2", 0);
    QTest::keyClick(find<QWidget>("ListBox2"), Qt::Key_Tab); // the button is next by Tab
    EXPECT_EQ(QApplication::focusWidget(), find<QWidget>("Button9"));
    choose(jpeg);
    EXPECT_EQ(label(), u"photo.jpg"_s);

    struct Case {
        fs::path file;
        bool error; // the system's report in an error box, else an information box
        QString text;
    };
    const Case cases[] = {
        {dir.path() / "notes.png", false,
         kavo::app::text(kavo::msg::form1::notPicture, kavo::Lang::English,
                         {(dir.path() / "notes.png").string()})},
        {dir.path() / "gone.jpg", true,
         u("Cannot open file ") + kavo::app::fromPath(dir.path() / "gone.jpg")},
    };
    for (const Case& c : cases) {
        platform.clear();
        choose(c.file);
        const QStringList seen = c.error ? platform.errors() : platform.informations();
        ASSERT_EQ(platform.boxes.size(), 1u);
        EXPECT_TRUE(seen.front().startsWith(c.text)) << seen.front().toStdString();
        EXPECT_EQ(label(), u"photo.jpg"_s);
    }

    // No, then Yes again: the choice is gone, and the task is written without a picture.
    clickRow("ListBox2", 1);
    EXPECT_EQ(label(), u""_s);
    EXPECT_FALSE(chooserEnabled());
    platform.clear();
    addTask(2);
    EXPECT_TRUE(fs::is_directory(pictureOf(3).parent_path()));
    EXPECT_FALSE(fs::exists(pictureOf(3)));

    // The preview opens the page and says the picture is missing.
    clickRow("ListBox1", 2);
    click("Button5");
    EXPECT_EQ(platform.openedUrls.size(), 1);
    EXPECT_EQ(platform.informations(),
              QStringList{kavo::app::text(kavo::msg::review::pictureMissing, kavo::Lang::English)});
}
