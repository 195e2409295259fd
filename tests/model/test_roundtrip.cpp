// Save and load round trips: the example project, generated projects, and random values of
// every kind that must come back unchanged.

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "model/eventlist.h"
#include "model/orbstream.h"
#include "records/resourcefile.h"
#include "objects/itemsets.h"
#include "objects/objectdata.h"
#include "testsupport.h"
#include "textconv/textconv.h"

namespace vesk {
namespace {

using test::DumpResource;
using test::MakeCommand;
using test::MakeGroup;
using test::MakeHeaderColumn;
using test::MakeObject;
using test::ReadBytes;
using test::Sjis;
using test::TempDir;

const std::string kDemoPath = std::string(VESK_SOURCE_DIR) + "/examples/demo.veskspro";

std::string Written(const CTekResourceData& resource)
{
    CJsonString text;
    WriteResource(resource, text, "");
    return text.Text();
}

/// Saves the resource into the folder, loads the file into a fresh resource and answers the
/// file's bytes.
std::string SaveAndLoad(const CTekResourceData& resource, CTekResourceData& loaded, const TempDir& dir)
{
    const std::string path = dir.File("round.veskspro");
    std::string error;
    EXPECT_TRUE(SaveResourceFile(resource, path, "", &error)) << error;
    LoadResult result = LoadResourceFile(loaded, path);
    EXPECT_TRUE(result) << result.errorText;
    return ReadBytes(path);
}

// --- The example project --------------------------------------------------------------------

TEST(RoundTrip, ExampleProjectSavesToTheSameBytes)
{
    const std::string original = ReadBytes(kDemoPath);
    ASSERT_FALSE(original.empty());
    CTekResourceData project;
    LoadResult result = LoadResourceFile(project, kDemoPath);
    ASSERT_TRUE(result) << result.errorText;
    ASSERT_EQ(project.Dialogs().Count(), 3);
    TempDir dir;
    CTekResourceData reloaded;
    EXPECT_EQ(SaveAndLoad(project, reloaded, dir), original);
    EXPECT_EQ(DumpResource(reloaded), DumpResource(project));
}

TEST(RoundTrip, ExampleProjectHoldsWhatTheFileSays)
{
    CTekResourceData project;
    ASSERT_TRUE(LoadResourceFile(project, kDemoPath));
    EXPECT_EQ(project.GetItem("Name"), "DemoTerminal");
    EXPECT_EQ(project.GetItem("DeviceWidth"), "480");
    const CTekDialogData& main = project.Dialogs().At(0);
    EXPECT_EQ(main.GetItem("Name"), "Main");
    ASSERT_EQ(main.Commands().size(), 3u);
    EXPECT_EQ(main.Commands()[0]->GetItem("Event"), "OnTimer");
    EXPECT_EQ(main.Commands()[0]->GetItem("Text"), "12:00");
    const CObjectDataList* root = main.RootGroup();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->ChildAt(0).GetItem("Text"), Sjis("メインメニュー"));
    const CTekDialogData& order = project.Dialogs().At(1);
    const CObjectData& grid = order.RootGroup()->ChildAt(4);
    EXPECT_EQ(grid.GetItem("Type"), "GRID");
    EXPECT_EQ(grid.HeaderColumns().size(), 3u);
    EXPECT_EQ(grid.GetItem("Data"),
              "[['A-01','" + Sjis("ボールペン") + "','120'],['B-20','" + Sjis("ノート") + "','250']]");
}

TEST(RoundTrip, LoadingTwiceAddsTheDialogsAgainUnderNewNames)
{
    CTekResourceData project;
    ASSERT_TRUE(LoadResourceFile(project, kDemoPath));
    ASSERT_TRUE(LoadResourceFile(project, kDemoPath));
    ASSERT_EQ(project.Dialogs().Count(), 6);
    EXPECT_EQ(project.Dialogs().At(3).GetItem("Name"), "Main2");
    EXPECT_EQ(project.Dialogs().At(4).GetItem("Name"), "Order2");
}

// --- Random projects ------------------------------------------------------------------------

/// Double-byte Shift_JIS characters; the first eight have 0x5C as their second byte.
const char* const kJapanese[] = {"ソ", "表", "能", "十", "予", "構", "申", "貼", "あ", "ボ", "ー", "ル",
                                 "ペ", "ン", "漢", "字", "日", "本", "語", "注", "文", "送", "信", "・"};

/// Printable ASCII plus the bytes that need escapes in files: quote, backslash, control bytes.
/// ESC, SO and SI are left out of values that the reader converts, since they make a text look
/// like ISO-2022-JP to the encoding detection.
class ValueGenerator {
public:
    explicit ValueGenerator(unsigned seed) : m_random(seed) {}

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    bool Chance(int percent) { return Below(100) < percent; }

    char AsciiByte(bool anyControl)
    {
        static const std::string special = "'\"\\/{}[],:\t\n\r ";
        int choice = Below(10);
        if (choice < 2)
            return special[static_cast<size_t>(Below(static_cast<int>(special.size())))];
        if (choice < 3) {
            for (;;) {
                char c = static_cast<char>(1 + Below(31));
                if (anyControl || (c != 0x1B && c != 0x0E && c != 0x0F))
                    return c;
            }
        }
        return static_cast<char>(0x20 + Below(95));
    }

    /// ASCII and double-byte Shift_JIS characters. A Shift_JIS text that is also valid UTF-8
    /// cannot be told apart from UTF-8 when it is read (the reader converts every group, object
    /// and command value from whatever encoding it seems to be in), so such texts are drawn
    /// again: only texts the detection takes for ASCII or Shift_JIS are answered.
    std::string ShiftJisText(int maxLength)
    {
        for (;;) {
            std::string text;
            int length = 1 + Below(maxLength);
            for (int i = 0; i < length; ++i) {
                if (Chance(40))
                    text += Sjis(kJapanese[Below(static_cast<int>(std::size(kJapanese)))]);
                else
                    text += AsciiByte(false);
            }
            TextEncoding encoding = DetectEncoding(text);
            if (encoding == TextEncoding::Ascii || encoding == TextEncoding::ShiftJis)
                return text;
        }
    }

    /// A display text: Japanese characters whose UTF-8 form is three bytes each, and ASCII.
    std::string DisplayText(int maxLength)
    {
        std::string text;
        int length = 1 + Below(maxLength);
        for (int i = 0; i < length; ++i) {
            if (Chance(50))
                text += Sjis(kJapanese[Below(static_cast<int>(std::size(kJapanese)))]);
            else
                text += AsciiByte(false);
        }
        return text;
    }

    /// Any bytes but 0: resource and dialog values are not converted on reading.
    std::string AnyBytes(int maxLength)
    {
        std::string text;
        int length = 1 + Below(maxLength);
        for (int i = 0; i < length; ++i)
            text += Chance(70) ? AsciiByte(true) : static_cast<char>(1 + Below(255));
        return text;
    }

    /// An array text of numbers and strings. Strings may hold characters whose second byte is
    /// 0x5C followed by a byte that would make an escape of it; the writer must quote those.
    std::string DataText(bool shiftJis)
    {
        static const std::string tails = "ab\"/ntu";
        for (;;) {
            std::string data = "[";
            int count = Below(4);
            for (int i = 0; i < count; ++i) {
                if (i)
                    data += ',';
                if (Chance(40)) {
                    data += std::to_string(Below(1000));
                    continue;
                }
                data += '\'';
                int length = 1 + Below(4);
                for (int k = 0; k < length; ++k) {
                    if (Chance(50))
                        data += Sjis(kJapanese[Below(static_cast<int>(std::size(kJapanese)))]);
                    else
                        data += tails[static_cast<size_t>(Below(static_cast<int>(tails.size())))];
                }
                data += '\'';
            }
            data += ']';
            TextEncoding encoding = DetectEncoding(data);
            if (!shiftJis || encoding == TextEncoding::Ascii || encoding == TextEncoding::ShiftJis)
                return data;
        }
    }

    /// A value for a bare kind: well-formed (in the compact form it reads back in) or not.
    std::string BareValue(ItemKind kind, bool shiftJis)
    {
        if (Chance(50)) {
            switch (kind) {
            case ItemKind::Number:
                return std::to_string(Below(200001) - 100000);
            case ItemKind::Flag:
                return Chance(50) ? "true" : "false";
            default:
                return DataText(shiftJis);
            }
        }
        for (;;) {
            std::string value = shiftJis ? ShiftJisText(8) : AnyBytes(8);
            if (!IsWellFormedBareValue(value, kind))
                return value;
        }
    }

    /// A random value suited to the item's kind.
    std::string ValueFor(const CItemData& item, bool converted)
    {
        switch (item.Kind()) {
        case ItemKind::Display:
            return DisplayText(10);
        case ItemKind::Data:
        case ItemKind::Number:
        case ItemKind::Flag:
            return BareValue(item.Kind(), converted);
        default:
            return converted ? ShiftJisText(10) : AnyBytes(10);
        }
    }

    std::mt19937& Random() { return m_random; }

private:
    std::mt19937 m_random;
};

const char* const kCommandNames[] = {"CONDITION", "UPDATE", "OPEN",    "CLOSE", "SOUND",
                                     "TIMER",     "DELETE", "GETFILE", "HELLO"};
/// Gives an owner commands, ordered by event as the file groups them, with random values in
/// every item but the fixed ones.
void AddRandomCommands(TekClass& owner, ValueGenerator& values)
{
    int count = values.Below(3);
    std::vector<int> events;
    for (int i = 0; i < count; ++i)
        events.push_back(values.Below(7));
    std::sort(events.begin(), events.end());
    for (int event : events) {
        TekPtr command = MakeCommand(owner, kCommandNames[values.Below(9)], kEventNames[event]);
        for (int i = 0; i < command->Items().Count(); ++i) {
            CItemData& item = command->Items().At(i);
            if (item.Kind() != ItemKind::Fixed && values.Chance(70))
                item.SetValue(values.ValueFor(item, true));
        }
    }
}

/// Random values in every item; structural items (the type, the layout, the column count) and
/// the event choosers, which the editor always empties again, are left alone.
void FillNodeItems(CObjectData& node, ValueGenerator& values)
{
    static const std::set<std::string> kept = {"Type",    "Layout",  "Columns",  "OnClick",
                                               "OnSlide", "OnTouch", "OnRelease"};
    for (int i = 0; i < node.Items().Count(); ++i) {
        CItemData& item = node.Items().At(i);
        if (kept.count(item.Name()) || values.Chance(30))
            continue;
        item.SetValue(values.ValueFor(item, true));
    }
}

void AddRandomChildren(CObjectDataList& group, ValueGenerator& values, int depth)
{
    int count = values.Below(5);
    for (int i = 0; i < count; ++i) {
        ObjectPtr node;
        if (depth < 3 && values.Chance(25))
            node = MakeGroup(&group, values.Below(LAYOUT_COUNT), "");
        else
            node = MakeObject(&group, values.Below(OBJ_TYPE_COUNT), "");
        node->SetParentGroup(&group);
        node->SetExpanded(values.Chance(50));
        FillNodeItems(*node, values);
        AddRandomCommands(*node, values);
        if (node->ObjectTypeCode() == OBJ_GRID) {
            int columns = values.Below(3);
            for (int c = 0; c < columns; ++c) {
                TekPtr column = MakeHeaderColumn(*node);
                for (int k = 0; k < column->Items().Count(); ++k)
                    if (values.Chance(60))
                        column->Items().At(k).SetValue(values.AnyBytes(6));
            }
            if (columns > 0)
                node->SetItem("Columns", std::to_string(columns));
        }
        if (node->IsGroup())
            AddRandomChildren(static_cast<CObjectDataList&>(*node), values, depth + 1);
    }
}

/// Item names that are not keys the readers treat apart, in the order the reader takes keys.
std::set<std::string> RandomNames(ValueGenerator& values, int count)
{
    std::set<std::string> names;
    while (static_cast<int>(names.size()) < count)
        names.insert("x" + values.AnyBytes(6));
    return names;
}

std::unique_ptr<CTekResourceData> RandomProject(unsigned seed)
{
    ValueGenerator values(seed);
    auto project = std::make_unique<CTekResourceData>();
    project->SetItem("Name", values.AnyBytes(12));
    project->SetItem("DeviceWidth", values.BareValue(ItemKind::Number, false));
    if (values.Chance(50))
        project->SetItem("DeviceHeight", values.BareValue(ItemKind::Number, false));
    for (const std::string& name : RandomNames(values, values.Below(3)))
        project->SetOrAddItem(name, values.AnyBytes(8));
    int dialogCount = 1 + values.Below(3);
    for (int d = 0; d < dialogCount; ++d) {
        CTekDialogData& dialog = project->Dialogs().AddDialog("d" + std::to_string(d) + "_" + values.AnyBytes(6));
        dialog.SetExpanded(values.Chance(50));
        dialog.SetItem("TemplateType", values.AnyBytes(6));
        dialog.SetItem("TargetLayoutWidth", values.BareValue(ItemKind::Number, false));
        dialog.SetItem("TargetLayoutHeight", values.BareValue(ItemKind::Number, false));
        for (const std::string& name : RandomNames(values, values.Below(3)))
            dialog.SetOrAddItem(name, values.AnyBytes(8));
        AddRandomCommands(dialog, values);
        GroupPtr root = MakeGroup(nullptr, values.Below(LAYOUT_COUNT), "");
        FillNodeItems(*root, values);
        AddRandomCommands(*root, values);
        AddRandomChildren(*root, values, 0);
        dialog.SetRoot(root);
    }
    return project;
}

/// The expanded flags are not part of the file; everything else a dump shows must come back.
TEST(RoundTrip, RandomValuesSurviveASaveAndALoad)
{
    TempDir dir;
    for (unsigned seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::unique_ptr<CTekResourceData> project = RandomProject(seed);
        CTekResourceData loaded;
        const std::string saved = SaveAndLoad(*project, loaded, dir);
        EXPECT_EQ(DumpResource(loaded), DumpResource(*project));
        if (HasFailure()) {
            ADD_FAILURE() << saved;
            break;
        }
        // Saving what was loaded gives the same bytes again.
        EXPECT_EQ(Written(loaded), saved);
    }
}

// --- Values that the plain format could not hold ---------------------------------------------

TEST(RoundTrip, QuotesBackslashesControlBytesAndShiftJisSurvive)
{
    const std::string so = Sjis("ソ");
    const std::string hyou = Sjis("表示");
    CTekResourceData project;
    project.SetItem("Name", "it's " + so);
    project.SetOrAddItem("odd'key\\" + so, "v\x01");
    CTekDialogData& dialog = project.Dialogs().AddDialog(Sjis("能力") + "'");
    MakeCommand(dialog, "UPDATE", "OnOpen")->SetItem("Name", Sjis("予定") + "\\n");
    GroupPtr root = MakeGroup(nullptr, LAYOUT_LINEAR, Sjis("十字"));
    dialog.SetRoot(root);
    ObjectPtr button = MakeObject(root.get(), OBJ_BUTTON, hyou);
    button->SetItem("Text", Sjis("表") + "\t'\"\\");
    button->SetItem("FileOff", "C:\\images\\" + so + ".png");
    ObjectPtr grid = MakeObject(root.get(), OBJ_GRID, "g'1");
    MakeHeaderColumn(*grid)->SetItem("BGColor", so);
    grid->SetItem("Columns", "1");

    std::string text = Written(project);
    EXPECT_NE(text.find("'Name':'it\\u0027s \x83\\\\'"), std::string::npos) << text;
    EXPECT_NE(text.find("'odd\\u0027key\\\\\x83\\\\':'v\\u0001'"), std::string::npos) << text;
    EXPECT_NE(text.find("'Text':'表\\u0009\\u0027\"\\\\'"), std::string::npos) << text;

    TempDir dir;
    CTekResourceData loaded;
    SaveAndLoad(project, loaded, dir);
    EXPECT_EQ(loaded.GetItem("Name"), "it's " + so);
    EXPECT_EQ(loaded.GetItem("odd'key\\" + so), "v\x01");
    EXPECT_EQ(DumpResource(loaded), DumpResource(project));
}

TEST(RoundTrip, MalformedBareValuesAreQuotedAndComeBack)
{
    CTekResourceData project;
    project.SetItem("DeviceWidth", "abc");
    project.SetItem("DeviceHeight", "800");
    CTekDialogData& dialog = project.Dialogs().AddDialog("Main");
    dialog.SetItem("TargetLayoutWidth", "100px");
    MakeCommand(dialog, "TIMER", "OnTimer")->SetItem("Time", "soon");
    GroupPtr root = MakeGroup(nullptr, LAYOUT_TABLEROW, "root");
    root->SetItem("Vertical", "yes");
    dialog.SetRoot(root);
    ObjectPtr grid = MakeObject(root.get(), OBJ_GRID, "gr");
    grid->SetItem("Data", "[1,");
    grid->SetItem("Span", "two");
    ObjectPtr pulldown = MakeObject(root.get(), OBJ_PULLDOWN, "pd");
    pulldown->SetItem("Data", "['1','2']");
    pulldown->SetItem("Weight", "2");
    pulldown->SetItem("Wrap", "true");

    std::string text = Written(project);
    EXPECT_EQ(text.rfind("{'DeviceWidth':'abc','DeviceHeight':800,'Commands':[\n", 0), 0u) << text;
    EXPECT_NE(text.find("'TargetLayoutWidth':'100px'"), std::string::npos);
    EXPECT_NE(text.find("'Time':'soon'"), std::string::npos);
    EXPECT_NE(text.find("'Vertical':'yes'"), std::string::npos);
    EXPECT_NE(text.find("'Data':'[1,'"), std::string::npos);
    EXPECT_NE(text.find("'Span':'two'"), std::string::npos);
    EXPECT_NE(text.find("'Weight':2,"), std::string::npos);
    EXPECT_NE(text.find("'Wrap':true,"), std::string::npos);
    EXPECT_NE(text.find("'Data':['1','2']"), std::string::npos);

    TempDir dir;
    CTekResourceData loaded;
    SaveAndLoad(project, loaded, dir);
    EXPECT_EQ(DumpResource(loaded), DumpResource(project));
}

TEST(RoundTrip, EditedNotifyListComesBack)
{
    CTekResourceData project;
    CTekDialogData& dialog = project.Dialogs().AddDialog("Main");
    GroupPtr root = MakeGroup(nullptr, LAYOUT_LINEAR, "root");
    root->SetItem("NotifyList", "Name,Width");
    dialog.SetRoot(root);
    MakeObject(root.get(), OBJ_TEXT, "t")->SetItem("NotifyList", "Name");
    TempDir dir;
    CTekResourceData loaded;
    SaveAndLoad(project, loaded, dir);
    const CObjectDataList* loadedRoot = loaded.Dialogs().At(0).RootGroup();
    ASSERT_NE(loadedRoot, nullptr);
    EXPECT_EQ(loadedRoot->GetItem("NotifyList"), "Name,Width");
    EXPECT_EQ(loadedRoot->ChildAt(0).GetItem("NotifyList"), "Name");
}

TEST(RoundTrip, DisplayTextInUtf8AndShiftJisComesBackAsHeld)
{
    CTekResourceData project;
    CTekDialogData& dialog = project.Dialogs().AddDialog("Main");
    GroupPtr root = MakeGroup(nullptr, LAYOUT_LINEAR, "root");
    dialog.SetRoot(root);
    ObjectPtr toggle = MakeObject(root.get(), OBJ_TOGGLE, Sjis("ライト"));
    toggle->SetItem("TextOn", Sjis("ライト点灯"));
    toggle->SetItem("TextOff", Sjis("ライト消灯"));
    std::string text = Written(project);
    EXPECT_NE(text.find("'TextOff':'ライト消灯','TextOn':'ライト点灯'"), std::string::npos) << text;
    EXPECT_NE(text.find("'Name':'" + Sjis("ライト") + "'"), std::string::npos);
    TempDir dir;
    CTekResourceData loaded;
    SaveAndLoad(project, loaded, dir);
    EXPECT_EQ(DumpResource(loaded), DumpResource(project));
}

} // namespace
} // namespace vesk
