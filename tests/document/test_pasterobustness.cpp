// Texts that other programs leave on the clipboard, and mangled records, pasted into a project
// through the entry point of the paste fuzzing binary. The seed is fixed, so a failure repeats.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "document_targets.h"

using namespace vesk;

namespace {

/// The records the editor itself puts on the clipboard: each dialog, group and object of the
/// project pasted into.
std::vector<std::string> OwnRecords()
{
    ProjectDocument document;
    EXPECT_TRUE(ReadResourceText(document.Resource(), fuzz::kPasteProject));
    document.ProjectLoaded();
    std::vector<TekClass*> nodes;
    for (int i = 0; i < document.Resource().Dialogs().Count(); ++i)
        fuzz::CollectNodes(document.Resource().Dialogs().At(i), nodes);
    std::vector<std::string> records;
    for (TekClass* node : nodes)
        if (std::string record = document.RecordOf(*node); !record.empty())
            records.push_back(std::move(record));
    return records;
}

TEST(PasteRobustness, TextsOfOtherProgramsAndOwnRecords)
{
    std::vector<std::string> texts = {
        "",
        "plain words from a mail",
        "{\"Type\":\"BUTTON\",\"Name\":\"b\"}",
        "{'Type':'BUTTON','Name':'\xe6\x97\xa5\xe6\x9c\xac','Text':'\xe3\x81\x82'}",
        "{'Type':'RADIOBTN'}",
        "{'Type':'TABLEROW','Objects':[{'Type':'TEXT'}]}",
        "{'Command':'HELLO'}",
        "{'Commands':[{'Command':'DIALOG','Name':'Main'},{'Command':'DIALOG'}]}",
        "{'Command':'DIALOG','Name':'X','Object':{'Type':'BUTTON'}}",
        "[1,2,3]",
        "{'Type':'LINEAR','Objects':[[[[[[[[[[]]]]]]]]]]}",
        std::string("{'Type':'TEXT','Text':'a\0b'}", 28),
    };
    for (std::string& record : OwnRecords())
        texts.push_back(std::move(record));
    for (const std::string& text : texts)
        EXPECT_EQ(fuzz::CheckPasteText(text), "") << "pasted:\n" << text;
}

TEST(PasteRobustness, MangledRecords)
{
    const std::vector<std::string> records = OwnRecords();
    ASSERT_FALSE(records.empty());
    static const std::string_view pieces[] = {
        "'",        "\"",      "{",          "}",        "[",        "]",           ",",          ":",
        "\\",       "\\u0027", "\x95\x5c",   "\x81",     "'Type':'", "'Objects':[", "'Header':[", "GRID",
        "RADIOBTN", "DIALOG",  "'Command':", "TABLEROW", "null",     "1e999"};
    std::mt19937 random(7);
    const auto below = [&](size_t bound) { return bound ? random() % bound : 0; };
    for (int i = 0; i < 1500; ++i) {
        std::string text = records[below(records.size())];
        for (int edits = 1 + static_cast<int>(below(3)); edits > 0; --edits) {
            const size_t at = below(text.size() + 1);
            switch (below(4)) {
            case 0:
                if (at < text.size())
                    text[at] = static_cast<char>(text[at] ^ (1 << below(8)));
                break;
            case 1:
                text.erase(at, below(12));
                break;
            default:
                text.insert(at, pieces[below(std::size(pieces))]);
                break;
            }
        }
        const std::string broken = fuzz::CheckPasteText(text);
        ASSERT_EQ(broken, "") << "case " << i << ", pasted:\n" << text;
    }
}

} // namespace
