// SPDX-License-Identifier: MIT
// Add task, Ok, the two layouts, Open task, Save changes and the language switch.
#include "core/common/messages.hpp"
#include "core/shell/language.hpp"
#include "core/tasks/add_task.hpp"
#include "ui/common/platform.hpp"
#include "ui/common/text_bridge.hpp"
#include "ui/main/tform1.hpp"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTextDocument>

using namespace kavo::app;
using kavo::Text;
using kavo::Unencodable;

namespace {

kavo::tasks::ListField readList(const QListWidget* list) {
    kavo::tasks::ListField field;
    for (int i = 0; i < list->count(); ++i)
        field.items.push_back(toPageText(list->item(i)->text()));
    field.selected = selectedRow(list);
    return field;
}

void mirror(QLineEdit* edit, const Text& before, const Text& after) {
    if (before != after)
        edit->setText(fromText(after));
}

void mirror(QPlainTextEdit* edit, const Text& before, const Text& after) {
    if (before != after)
        edit->setPlainText(fromText(after));
}

} // namespace

void TForm1::Button1Click() {
    const auto answer = toText(Edit1->text(), Unencodable::Refuse);
    if (!answer) {
        inform(text(kavo::msg::task::unencodableAnswer, lang_,
                    {unencodableCharacters(Edit1->text()).toStdString()}));
        return;
    }

    kavo::tasks::TaskForm form;
    form.ListBox1 = readList(ListBox1);
    form.ListBox2 = readList(ListBox2);
    form.ListBox3 = readList(ListBox3);
    form.Memo1 = toPageText(plainText(Memo1));
    form.VariantOtveta_1 = toPageText(VariantOtveta_1->text());
    form.VariantOtveta_2 = toPageText(VariantOtveta_2->text());
    form.VariantOtveta_3 = toPageText(VariantOtveta_3->text());
    form.VariantOtveta_4 = toPageText(VariantOtveta_4->text());
    form.VariantOtveta_5 = toPageText(VariantOtveta_5->text());
    form.Edit1 = *answer;
    form.CheckBox1 = CheckBox1->isChecked();
    form.CheckBox2 = CheckBox2->isChecked();
    form.CheckBox3 = CheckBox3->isChecked();
    form.CheckBox4 = CheckBox4->isChecked();
    form.Edit7 = toPageText(Edit7->text());
    form.Edit8 = toPageText(Edit8->text());
    form.Edit2 = toPageText(Edit2->text());
    form.Edit3 = toPageText(Edit3->text());
    form.Edit4 = toPageText(Edit4->text());
    form.RadioButton1 = RadioButton1->isChecked();
    form.RadioButton2 = RadioButton2->isChecked();
    form.picture = picture_;

    const kavo::tasks::TaskForm before = form;
    const kavo::tasks::AppValues app{lang_, programDir_, outputDir_, sizes_.TaskTotal};
    const auto ask = [this](kavo::tasks::AddQuestion, const Text& question) {
        return platform_.ask(this, fromText(question), false);
    };
    const kavo::tasks::AddTaskResult result = kavo::tasks::addTask(form, app, ask);

    if (!result.message.empty())
        inform(fromText(result.message));
    if (!result.failure.empty())
        platform_.error(this, fromReport(result.failure));

    // Mirror only what the run changed, so text the window holds is never re-read.
    if (form.ListBox1.selected != before.ListBox1.selected)
        selectRow(ListBox1, form.ListBox1.selected);
    if (form.ListBox2.selected != before.ListBox2.selected)
        selectRow(ListBox2, form.ListBox2.selected);
    if (form.ListBox3.selected != before.ListBox3.selected)
        selectRow(ListBox3, form.ListBox3.selected);
    mirror(Memo1, before.Memo1, form.Memo1);
    mirror(VariantOtveta_1, before.VariantOtveta_1, form.VariantOtveta_1);
    mirror(VariantOtveta_2, before.VariantOtveta_2, form.VariantOtveta_2);
    mirror(VariantOtveta_3, before.VariantOtveta_3, form.VariantOtveta_3);
    mirror(VariantOtveta_4, before.VariantOtveta_4, form.VariantOtveta_4);
    mirror(VariantOtveta_5, before.VariantOtveta_5, form.VariantOtveta_5);
    mirror(Edit1, before.Edit1, form.Edit1);
    mirror(Edit7, before.Edit7, form.Edit7);
    mirror(Edit8, before.Edit8, form.Edit8);
    const std::pair<QCheckBox*, bool> boxes[] = {{CheckBox1, form.CheckBox1},
                                                 {CheckBox2, form.CheckBox2},
                                                 {CheckBox3, form.CheckBox3},
                                                 {CheckBox4, form.CheckBox4}};
    for (const auto& [box, checked] : boxes)
        box->setChecked(checked);
    if (form.RadioButton1 != before.RadioButton1 || form.RadioButton2 != before.RadioButton2)
        (form.RadioButton1 ? RadioButton1 : RadioButton2)->setChecked(true);

    // A run that wrote nothing for a reason a box gives keeps the line of the last write.
    if (const std::string line = kavo::tasks::statusLine(result, lang_); !line.empty())
        statusBar()->showMessage(QString::fromStdString(line));
    if (result.written) {
        markFormWritten();
        // The marks first: the next number offered is one that holds no task.
        refreshMarks();
        const auto writtenRow = before.ListBox1.selected;
        selectRow(ListBox1, writtenRow ? nextUnwrittenRow(*writtenRow) : std::nullopt);
    }

    if (result.showAuthorDialog)
        emit authorisationRequested();
}

void TForm1::fillNumberLists(std::int64_t count) {
    ListBox1->clear();
    ListBox4->clear();
    for (std::int64_t i = 1; i <= count; ++i) {
        ListBox1->addItem(QString::number(i));
        ListBox4->addItem(QString::number(i));
    }
    // The lists are set: a line about sizes found in the tree has had its answer.
    if (count > 0)
        statusBar()->clearMessage();
    refreshMarks();
}

bool TForm1::Button2Click() {
    emit partSizesConfirmed();
    kavo::review::OkResult result;
    const auto confirm = [this](const Text& question) {
        return platform_.ask(this, fromText(question), false);
    };
    try {
        result = kavo::review::confirmPartSizes(
            sizes_, toPageText(Edit2->text()), toPageText(Edit3->text()), toPageText(Edit4->text()),
            lang_, outputDir_, confirm);
    } catch (...) {
        lastOk_.reset();
        fillNumberLists(0);
        throw;
    }
    if (!result.refused) {
        lastOk_.reset();
        if (result.numbers > 0)
            lastOk_ = kavo::model::PartSizes{sizes_.PartASize, sizes_.PartBSize, sizes_.PartCSize};
        fillNumberLists(result.numbers);
    }
    if (result.emptyEdit2)
        Edit2->clear();
    for (const Text& message : result.messages)
        inform(fromText(message));
    return !result.refused;
}

void TForm1::showTaskFormWidgets(bool taskForm) {
    for (QWidget* widget : std::initializer_list<QWidget*>{Label1,
                                                           Label4,
                                                           Label5,
                                                           Label10,
                                                           Memo1,
                                                           A,
                                                           B,
                                                           C,
                                                           D,
                                                           E,
                                                           VariantOtveta_1,
                                                           VariantOtveta_2,
                                                           VariantOtveta_3,
                                                           VariantOtveta_4,
                                                           VariantOtveta_5,
                                                           Button1,
                                                           Edit1,
                                                           ListBox2,
                                                           Button9,
                                                           Label21,
                                                           ListBox3,
                                                           Button5,
                                                           CheckBox1,
                                                           CheckBox2,
                                                           CheckBox3,
                                                           GroupBox1})
        widget->setVisible(taskForm);
    // The olympiad language is set by Add task, never by hand: its group stays hidden.
    RadioGroup1->hide();
    // Label2 heads the number list of either layout; ListBox1 stays under ListBox4 in the
    // review layout, out of the Tab order.
    Label2->setBuddy(taskForm ? ListBox1 : ListBox4);
    ListBox1->setFocusPolicy(taskForm ? Qt::StrongFocus : Qt::NoFocus);
    Memo2->clear();
    Memo3->clear();
    if (!taskForm)
        Memo4->clear();
    for (QWidget* widget :
         std::initializer_list<QWidget*>{Label11, Label12, Memo2, Memo3, Button6, Button7, ListBox4,
                                         Button8, Button10, Label13, Memo4})
        widget->setVisible(!taskForm);
    review_.forget();
}

void TForm1::N1Click() {
    showTaskFormWidgets(false);
}

void TForm1::N2Click() {
    showTaskFormWidgets(true);
}

void TForm1::Button8Click() {
    QPlainTextEdit* const fields[] = {Memo2, Memo3, Memo4};
    const Text message = kavo::review::openTask(
        review_, sizes_, outputDir_, selectedRow(ListBox4),
        [&](int i, const Text& text) { fields[i]->setPlainText(fromText(text)); }, lang_);
    if (!message.empty())
        inform(fromText(message));
}

void TForm1::Button6Click() {
    const QString answers = plainText(Memo3);
    auto out = toText(answers, Unencodable::Refuse);
    if (!out && !plainText(Memo2).isEmpty()) {
        inform(text(kavo::msg::review::unencodableAnswers, lang_,
                    {unencodableCharacters(answers).toStdString()}));
        return;
    }
    const std::array<Text, 3> texts = {toPageText(plainText(Memo2)), out.value_or(Text()),
                                       toPageText(plainText(Memo4))};
    const auto ask = [this](const Text& question) {
        return platform_.ask(this, fromText(question), false);
    };
    const auto result = kavo::review::saveTask(review_, sizes_, outputDir_, selectedRow(ListBox4),
                                               texts, lang_, ask, programDir_ / "System_folder");
    // The mark first: the number shows red while the box says why.
    refreshMarks();
    if (!result.message.empty())
        inform(fromText(result.message));
    // What was saved is no change to lose (Edit in the form asks about unsaved ones).
    if (result.saved)
        for (QPlainTextEdit* memo : {Memo2, Memo3, Memo4})
            memo->document()->setModified(false);
    selectRow(ListBox4, result.select);
}

void TForm1::emptyReview() {
    for (QPlainTextEdit* memo : {Memo2, Memo3, Memo4})
        memo->clear();
    review_.forget();
}

void TForm1::switchLanguage(bool toEnglish) {
    if (!confirmLosingText(kavo::msg::shell::unwrittenSwitch))
        return;
    writeLanguage(programDir_, toEnglish);
    const QString executable = QCoreApplication::applicationFilePath();
    if (!platform_.restart(executable, fromPath(programDir_))) {
        platform_.error(this,
                        text(kavo::msg::shell::restartFailed, lang_, {executable.toStdString()}));
        return;
    }
    closeConfirmed_ = true;
    close();
}
