// Display texts are written as UTF-8 and other values as held (Shift_JIS). Some short texts are
// valid in both encodings ("°C" in UTF-8 is C2 B0 43, which also reads as half-width ﾂｰC), so
// the reader takes each value in the encoding its item is written in.

#include <gtest/gtest.h>

#include "model/orbstream.h"
#include "records/resourcefile.h"
#include "testsupport.h"

namespace vesk::test {
namespace {

struct Saved {
    std::string text;
    CTekResourceData reloaded;
};

/// A project with one dialog holding a TEXT whose 'Text' and 'Name' are given; saved and reloaded.
std::unique_ptr<Saved> SaveAndReload(const std::string& displayText, const std::string& name)
{
    CTekResourceData project;
    CTekDialogData& dialog = project.Dialogs().AddDialog("Main");
    GroupPtr root = MakeGroup(nullptr, LAYOUT_LINEAR, "root");
    dialog.SetRoot(root);
    ObjectPtr text = MakeObject(root.get(), OBJ_TEXT, name);
    text->SetItem("Text", displayText);
    TekPtr update = MakeCommand(*text, "UPDATE", "OnClick");
    update->SetItem("Text", displayText);

    auto saved = std::make_unique<Saved>();
    CJsonString out;
    WriteResource(project, out, "");
    saved->text = out.Text();
    std::string error;
    EXPECT_TRUE(ReadResourceText(saved->reloaded, saved->text, &error)) << error;
    return saved;
}

const CObjectData& FirstObject(const CTekResourceData& project)
{
    return project.Dialogs().At(0).RootGroup()->ChildAt(0);
}

TEST(DisplayTextTest, TextsThatAlsoReadAsShiftJisComeBackUnchanged)
{
    for (const char* utf8 : {"°C", "±5", "α", "Ωβ", "×", "25°", "é"}) {
        SCOPED_TRACE(utf8);
        std::string held = Sjis(utf8);
        if (ShiftJisToUtf8Exact(held) != utf8)
            continue;  // not representable in Shift_JIS (é): nothing to keep
        auto saved = SaveAndReload(held, "t1");
        const CObjectData& object = FirstObject(saved->reloaded);
        EXPECT_EQ(object.GetItem("Text"), held);
        EXPECT_EQ(object.CommandList().at(0)->GetItem("Text"), held);
    }
}

TEST(DisplayTextTest, HalfWidthNamesThatAlsoReadAsUtf8ComeBackUnchanged)
{
    // ﾃｷ is C3 B7 in Shift_JIS, which is also the UTF-8 of ÷; names are written as held.
    const std::string name = Sjis("ﾃｷ");
    ASSERT_EQ(name, "\xC3\xB7");
    auto saved = SaveAndReload(Sjis("表示"), name);
    EXPECT_EQ(FirstObject(saved->reloaded).GetItem("Name"), name);
    EXPECT_EQ(FirstObject(saved->reloaded).GetItem("Text"), Sjis("表示"));
}

TEST(DisplayTextTest, ShiftJisDisplayTextsFromOtherToolsStillArriveAsShiftJis)
{
    // A hand-written file may hold a display text in Shift_JIS; it is not valid UTF-8.
    CTekResourceData project;
    std::string text = "{'Commands':[{'Command':'DIALOG','Name':'M','Object':{'Layout':'LINEAR','Objects':["
                       "{'Type':'TEXT','Name':'a','Text':'" + Sjis("テキスト") + "'}]}}]}";
    ASSERT_TRUE(ReadResourceText(project, text));
    EXPECT_EQ(FirstObject(project).GetItem("Text"), Sjis("テキスト"));
}

}  // namespace
}  // namespace vesk::test
