// SPDX-License-Identifier: MIT
// An IMS QTI 2.1 content package: imsmanifest.xml and one item per task, scored as
// task.out scores: one point per variant of a multiple choice answered rightly.
#include "core/common/messages.hpp"
#include "core/olympiad/export_common.hpp"
#include "core/olympiad/page_text.hpp"

#include <set>

namespace kavo::olympiad::detail {

namespace {

constexpr std::string_view itemHeader =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<assessmentItem xmlns=\"http://www.imsglobal.org/xsd/imsqti_v2p1\"\n"
    "    xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\n"
    "    xsi:schemaLocation=\"http://www.imsglobal.org/xsd/imsqti_v2p1 "
    "http://www.imsglobal.org/xsd/qti/qtiv2p1/imsqti_v2p1p2.xsd\"\n";

// QTI content is XML: page markup that is not the page form of a plain text loses its tags.
std::string body(ExportTask& t, const std::string& markup) {
    std::string plain;
    if (auto p = plainOf(markup)) {
        plain = *p;
    } else {
        plain = stripMarkup(markup);
        bool said = false;
        for (const auto& n : t.losses)
            said = said || n.what.en == kavo::msg::olympiad::lossMarkup.en;
        if (!said)
            t.losses.push_back({kavo::msg::olympiad::lossMarkup, {}});
    }
    return replaceAll(escapeXml(plain), "\n", "<br/>");
}

std::string outcome(std::string_view id, std::string_view value) {
    return "  <outcomeDeclaration identifier=\"" + std::string(id) +
           "\" cardinality=\"single\" baseType=\"float\">\n    <defaultValue><value>" +
           std::string(value) + "</value></defaultValue>\n  </outcomeDeclaration>\n";
}

std::string response(std::string_view id, std::string_view cardinality, std::string_view type,
                     const std::vector<std::string>& correct) {
    std::string out = "  <responseDeclaration identifier=\"" + std::string(id) +
                      "\" cardinality=\"" + std::string(cardinality) + "\" baseType=\"" +
                      std::string(type) + "\">\n";
    if (!correct.empty()) {
        out += "    <correctResponse>\n";
        for (const auto& v : correct)
            out += "      <value>" + escapeXml(v) + "</value>\n";
        out += "    </correctResponse>\n";
    }
    return out + "  </responseDeclaration>\n";
}

std::string addPoint(std::string_view condition) {
    return "    <responseCondition>\n      <responseIf>\n        " + std::string(condition) +
           "\n        <setOutcomeValue identifier=\"SCORE\"><sum><variable identifier=\"SCORE\"/>"
           "<baseValue baseType=\"float\">1</baseValue></sum></setOutcomeValue>\n"
           "      </responseIf>\n    </responseCondition>\n";
}

std::string letter(std::size_t i) {
    return std::string(1, static_cast<char>('A' + i));
}

std::string choiceItem(ExportTask& t) {
    const auto& task = *t.task;
    const bool multiple = isMultipleChoice(task.kind);
    if (isFolded(task.kind))
        t.losses.push_back({kavo::msg::olympiad::lossFolded, {"QTI"}});
    const auto n = t.variants.size();
    std::vector<std::string> correct;
    int wrong = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const bool right =
            multiple ? ((task.answers >> i) & 1u) != 0 : static_cast<int>(i) == task.answer;
        if (right)
            correct.push_back(letter(i));
        else
            ++wrong;
    }
    std::string out = response("RESPONSE", multiple ? "multiple" : "single", "identifier", correct);
    out += outcome("SCORE", "0");
    out += outcome("MAXSCORE", multiple ? std::to_string(n) : "1");
    out += "  <itemBody>\n    <div>" + body(t, t.condition) + "</div>\n";
    out +=
        "    <choiceInteraction responseIdentifier=\"RESPONSE\" shuffle=\"false\" maxChoices=\"" +
        std::string(multiple ? "0" : "1") + "\">\n";
    for (std::size_t i = 0; i < n; ++i)
        out += "      <simpleChoice identifier=\"" + letter(i) + "\">" + body(t, t.variants[i]) +
               "</simpleChoice>\n";
    out += "    </choiceInteraction>\n  </itemBody>\n";
    if (!multiple)
        return out + "  <responseProcessing template=\"http://www.imsglobal.org/question/qti_v2p1/"
                     "rptemplates/match_correct\"/>\n";
    // Nothing ticked: every wrong variant is answered rightly. Otherwise a point for each
    // right variant ticked and each wrong one left unticked (member of NULL adds nothing).
    out += "  <responseProcessing>\n";
    out += "    <responseCondition>\n      <responseIf>\n        <isNull><variable "
           "identifier=\"RESPONSE\"/></isNull>\n        <setOutcomeValue identifier=\"SCORE\">"
           "<baseValue baseType=\"float\">" +
           std::to_string(wrong) +
           "</baseValue></setOutcomeValue>\n      </responseIf>\n    </responseCondition>\n";
    for (std::size_t i = 0; i < n; ++i) {
        const std::string member = "<member><baseValue baseType=\"identifier\">" + letter(i) +
                                   "</baseValue><variable identifier=\"RESPONSE\"/></member>";
        const bool right = ((task.answers >> i) & 1u) != 0;
        out += addPoint(right ? member : "<not>" + member + "</not>");
    }
    return out + "  </responseProcessing>\n";
}

std::string typedItem(ExportTask& t) {
    const std::string answer = t.typedAnswer;
    std::string out = response("RESPONSE", "single", "string", {answer});
    out += outcome("SCORE", "0");
    out += outcome("MAXSCORE", "1");
    out += "  <itemBody>\n    <div>" + body(t, t.condition) + "</div>\n";
    out += "    <p><textEntryInteraction responseIdentifier=\"RESPONSE\" expectedLength=\"" +
           std::to_string(std::max<std::size_t>(answer.size(), 10)) + "\"/></p>\n  </itemBody>\n";
    return out + "  <responseProcessing template=\"http://www.imsglobal.org/question/qti_v2p1/"
                 "rptemplates/match_correct\"/>\n";
}

std::string editsItem(ExportTask& t) {
    std::string out;
    const auto n = t.subQuestions.size();
    for (std::size_t i = 0; i < n; ++i)
        out += response("RESPONSE_" + letter(i), "single", "string", {t.subAnswers[i]});
    out += outcome("SCORE", "0");
    out += outcome("MAXSCORE", std::to_string(n));
    out += "  <itemBody>\n    <div>" + body(t, t.condition) + "</div>\n";
    for (std::size_t i = 0; i < n; ++i)
        out += "    <p>" + letter(i) + ") " + body(t, t.subQuestions[i]) +
               " <textEntryInteraction responseIdentifier=\"RESPONSE_" + letter(i) +
               "\" expectedLength=\"" +
               std::to_string(std::max<std::size_t>(t.subAnswers[i].size(), 10)) + "\"/></p>\n";
    out += "  </itemBody>\n  <responseProcessing>\n";
    for (std::size_t i = 0; i < n; ++i)
        out += addPoint("<match><variable identifier=\"RESPONSE_" + letter(i) +
                        "\"/><correct identifier=\"RESPONSE_" + letter(i) + "\"/></match>");
    return out + "  </responseProcessing>\n";
}

} // namespace

Exported qtiExport(std::vector<ExportTask>& tasks) {
    Exported out{ExportFormat::Qti, {}, {}};
    std::string resources;
    std::set<std::string> ids;
    for (auto& t : tasks) {
        // Identifiers and file names come from the number alone, never from a text.
        std::string id = "task_" + std::string(t.number < 10 ? "0" : "") + std::to_string(t.number);
        for (int k = 2; !ids.insert(id).second; ++k)
            id = "task_" + std::to_string(t.number) + "_" + std::to_string(k);
        const std::string file = "items/" + id + ".xml";
        if (t.task->names)
            t.losses.push_back({kavo::msg::olympiad::lossEnglishName, {t.nameEn}});
        std::string item = std::string(itemHeader) + "    identifier=\"" + id + "\" title=\"" +
                           escapeXml(t.label()) +
                           "\" adaptive=\"false\" timeDependent=\"false\">\n";
        item += t.task->kind == model::TaskKind::Edits         ? editsItem(t)
                : t.task->kind == model::TaskKind::TypedAnswer ? typedItem(t)
                                                               : choiceItem(t);
        item += "</assessmentItem>\n";
        out.files.push_back({file, std::move(item)});
        resources += "    <resource identifier=\"" + id +
                     "\" type=\"imsqti_item_xmlv2p1\" href=\"" + file + "\">\n      <file href=\"" +
                     file + "\"/>\n    </resource>\n";
    }
    std::string manifest = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<manifest xmlns=\"http://www.imsglobal.org/xsd/imscp_v1p1\"\n"
                           "    xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\n"
                           "    xsi:schemaLocation=\"http://www.imsglobal.org/xsd/imscp_v1p1 "
                           "http://www.imsglobal.org/xsd/qti/qtiv2p1/qtiv2p1_imscpv1p2_v1p0.xsd\"\n"
                           "    identifier=\"kavo-olympiad\">\n"
                           "  <metadata>\n    <schema>QTIv2.1 Package</schema>\n    "
                           "<schemaversion>1.0.0</schemaversion>\n"
                           "  </metadata>\n  <organizations/>\n  <resources>\n" +
                           resources + "  </resources>\n</manifest>\n";
    out.files.insert(out.files.begin(), {"imsmanifest.xml", std::move(manifest)});
    return out;
}

} // namespace kavo::olympiad::detail
