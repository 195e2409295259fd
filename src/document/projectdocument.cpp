#include "document/projectdocument.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <unordered_set>

#include <QCoreApplication>

#include "model/jsonparser.h"
#include "records/objectreader.h"
#include "model/orbstream.h"
#include "records/resourcefile.h"
#include "objects/itemsets.h"
#include "objects/objectdata.h"
#include "objects/treeshape.h"
#include "objects/undobuffer.h"
#include "textconv/textconv.h"

namespace vesk {

namespace {

/// A text for the user in the editor's language, with %1, %2 filled in (UTF-8).
template <typename... Args>
std::string Tr(const char* text, const Args&... args)
{
    QString translated = QCoreApplication::translate("vesk::ProjectDocument", text);
    ((translated = translated.arg(QString::fromStdString(args))), ...);
    return translated.toStdString();
}

constexpr const char* kNoResource = QT_TRANSLATE_NOOP("vesk::ProjectDocument", "エラー: リソースの取得に失敗しました.");
constexpr const char* kNoResourceData = QT_TRANSLATE_NOOP("vesk::ProjectDocument", "エラー: リソースデータの取得に失敗しました.");
constexpr const char* kNoHeaderOwner = QT_TRANSLATE_NOOP("vesk::ProjectDocument", "エラー: ヘッダのオブジェクトが取得できませんでした。");
constexpr const char* kSelectPlace = QT_TRANSLATE_NOOP("vesk::ProjectDocument", "登録する場所を決定するために、ツリーのオブジェクトを選択して下さい。");
constexpr const char* kSelectDialogOrObject =
    QT_TRANSLATE_NOOP("vesk::ProjectDocument", "登録する場所を決定するために、ツリーのダイアログ、\nまたはオブジェクトを選択して下さい。");
constexpr const char* kNeedGroup = QT_TRANSLATE_NOOP("vesk::ProjectDocument", "GROUPオブジェクトを登録して下さい。");
constexpr const char* kRadioOutsideRadioGroup = QT_TRANSLATE_NOOP("vesk::ProjectDocument", "ラジオボタンはラジオグループに追加して下さい。");
constexpr const char* kRootCannotUngroup = QT_TRANSLATE_NOOP("vesk::ProjectDocument", "エラー: デフォルトグループはグループ解除できません.");
/// The key of the list in the record of several objects (a group's record lists its children
/// under "Objects").
constexpr const char* kSeveralNodesKey = "Nodes";
constexpr const char* kRootCannotMove = QT_TRANSLATE_NOOP("vesk::ProjectDocument", "エラー: デフォルトグループは移動できません.");
constexpr const char* kIntoOwnSubtree = QT_TRANSLATE_NOOP("vesk::ProjectDocument", "グループをそれ自身の中へ移動することはできません。");
constexpr const char* kMoveWithinDialog = QT_TRANSLATE_NOOP("vesk::ProjectDocument", "オブジェクトは同じダイアログの中で移動して下さい。");
constexpr const char* kMoveWithinOwner = QT_TRANSLATE_NOOP("vesk::ProjectDocument", "ヘッダ項目とコマンドは同じオブジェクトの中で移動して下さい。");
constexpr const char* kMoveDialogAmongDialogs = QT_TRANSLATE_NOOP("vesk::ProjectDocument", "ダイアログはダイアログの前後へ移動して下さい。");

bool IsObjectOrGroup(const TekClass* node)
{
    return node && (node->Type() == NodeType::Object || node->Type() == NodeType::Group);
}

/// The code of a type or layout name, letter case ignored: layouts first, then object types, a
/// later match overriding an earlier one. isGroup tells which table matched; -1 for none.
int CodeOfTypeName(std::string_view name, bool& isGroup)
{
    auto same = [name](const char* candidate) {
        const std::string_view text(candidate);
        return text.size() == name.size() && std::equal(text.begin(), text.end(), name.begin(), [](char a, char b) {
                   return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
               });
    };
    int code = -1;
    for (int i = 0; i < LAYOUT_COUNT; ++i)
        if (same(kLayoutNames[i])) {
            code = i;
            isGroup = true;
        }
    for (int i = 0; i < OBJ_TYPE_COUNT; ++i)
        if (same(kObjectTypeNames[i])) {
            code = i;
            isGroup = false;
        }
    return code;
}

int IndexIn(const TekList& list, const TekClass* node)
{
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].get() == node)
            return static_cast<int>(i);
    return -1;
}

/// The command list that an owner of command nodes keeps, or nullptr.
TekList* CommandsOf(TekClass* owner)
{
    if (!owner)
        return nullptr;
    if (owner->Type() == NodeType::Dialog)
        return &static_cast<CTekDialogData*>(owner)->Commands();
    if (IsObjectOrGroup(owner))
        return &static_cast<CObjectData*>(owner)->CommandList();
    return nullptr;
}

/// The list of the owner that holds the header column or command node, or nullptr.
TekList* ListHolding(TekClass* owner, const TekClass& node)
{
    if (node.Type() == NodeType::Command)
        return CommandsOf(owner);
    if (node.Type() == NodeType::HeaderColumn && IsObjectOrGroup(owner))
        return &static_cast<CObjectData*>(owner)->HeaderColumns();
    return nullptr;
}

/// The item that takes an image's centre position, for an image item name; nullptr for none.
const char* CentrePositionItem(const std::string& imageItem)
{
    if (imageItem == "File" || imageItem == "FileOff" || imageItem == "FileBase")
        return "CenterPosBase";
    if (imageItem == "FileOn" || imageItem == "FileActive" || imageItem == "FileCursor")
        return "CenterPosCursor";
    if (imageItem == "FileThumb" || imageItem == "FileTop")
        return "CenterPosTop";
    return nullptr;
}

int RowOfItem(const TekClass& node, std::string_view name)
{
    for (int i = 0; i < node.Items().Count(); ++i)
        if (node.Items().At(i).Name() == name)
            return i;
    return -1;
}

/// The first character of a dialog name that cannot stand in a file or class name (a whole
/// Shift_JIS character), or an empty text when every character is a letter, digit or "_".
std::string FirstBadNameCharacter(const std::string& name)
{
    for (size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        if (byte < 0x80 && (std::isalnum(byte) || byte == '_'))
            continue;
        const bool lead = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
        return name.substr(i, lead && i + 1 < name.size() ? 2 : 1);
    }
    return {};
}

void CollectNames(const CObjectData& node, const CObjectData* skip, std::unordered_set<std::string>& names)
{
    if (&node == skip)
        return;
    if (const std::string& name = node.GetItem("Name"); !name.empty())
        names.insert(name);
    if (node.IsGroup())
        for (const ObjectPtr& child : static_cast<const CObjectDataList&>(node).Children())
            CollectNames(*child, skip, names);
}

std::string Numbered(const std::string& wanted, int n)
{
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%d", n);
    return wanted + suffix;
}

/// Counts an operation's change of rows in progress.
class ChangeGuard {
public:
    explicit ChangeGuard(int& depth) : m_depth(depth) { ++m_depth; }
    ~ChangeGuard() { --m_depth; }
    ChangeGuard(const ChangeGuard&) = delete;
    ChangeGuard& operator=(const ChangeGuard&) = delete;

private:
    int& m_depth;
};

/// Whether a and b show the same nodes below them, in the same order.
bool SameTreeChildren(const TekClass& a, const TekClass& b)
{
    const int count = TreeChildCount(a);
    if (count != TreeChildCount(b))
        return false;
    for (int row = 0; row < count; ++row)
        if (TreeChildAt(a, row) != TreeChildAt(b, row))
            return false;
    return true;
}

/// The live nodes that the dialog's next undo (or redo) restores; false when it also changes
/// which nodes the tree shows below any of them.
bool NodesARestoreTouches(const UndoBuffer& history, bool redo, std::vector<TekClass*>& touched)
{
    const int index = redo ? history.Position() : history.Position() - 1;
    if (index < 0 || index >= history.RecordCount())
        return true;
    const UndoRecord& record = history.RecordAt(index);
    for (int e = 0; e < record.Count(); ++e) {
        const TekClassBackup& entry = record.At(e);
        if (entry.GetAction() != TekClassBackup::ACT_MODIFY)
            continue;
        TekClass* live = history.FindOriginal(*entry.Node(), -1);
        const TekClass* target = redo ? entry.Node() : history.FindSnapshot(*entry.Node(), index - 1);
        if (!live || !target)
            continue;
        if (!SameTreeChildren(*live, *target))
            return false;
        touched.push_back(live);
    }
    return true;
}

} // namespace

bool CentrePositionOfImageName(const std::string& name, std::string& position)
{
    const size_t close = name.rfind(']');
    if (close == std::string::npos || close < 1)
        return false;
    const std::string head = name.substr(0, close);
    const size_t open = head.rfind('[');
    if (open == std::string::npos || open < 1)
        return false;
    position = head.substr(open + 1);
    for (char& c : position)
        if (c == '-')
            c = ',';
    return true;
}

struct ProjectDocument::Placement {
    CTekDialogData* dialog = nullptr;
    /// The group that takes the node; nullptr when the node becomes the dialog's root.
    CObjectDataList* target = nullptr;
    /// Insert right after this child (nullptr: as the position says).
    const CObjectData* after = nullptr;
    InsertPosition position = InsertPosition::After;
};

ProjectDocument::ProjectDocument(QObject* parent) : QObject(parent) {}

ProjectDocument::~ProjectDocument() = default;

void ProjectDocument::SetModified(bool modified)
{
    if (modified == m_modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

// --- Whole project ------------------------------------------------------------------------------

void ProjectDocument::ProjectLoaded()
{
    m_editingEnabled = true;
    m_treeShown = true;
    ClearHistory();
    m_currentDialog = nullptr;
    m_selected = m_highlighted = nullptr;
    {
        const ChangeGuard guard(m_changing);
        emit projectReset();
    }
    CTekDialogDataList& dialogs = m_resource.Dialogs();
    if (dialogs.Count() > 0) {
        SetCurrentDialog(&dialogs.At(0));
    } else {
        emit currentDialogChanged(nullptr);
        emit selectionChanged();
    }
}

void ProjectDocument::DiscardDialogs()
{
    m_currentDialog = nullptr;
    m_selected = m_highlighted = nullptr;
    m_resource.Dialogs().Clear();
    m_treeShown = false;
    ClearHistory();
    {
        const ChangeGuard guard(m_changing);
        emit projectReset();
    }
    emit currentDialogChanged(nullptr);
    emit selectionChanged();
    emit dialogChanged(nullptr);
}

void ProjectDocument::StartEmpty()
{
    DiscardDialogs();
    m_resource.Reset();
    {
        const ChangeGuard guard(m_changing);
        emit projectReset();
    }
    SetModified(false);
}

void ProjectDocument::ClearHistory()
{
    m_history.clear();
    m_historyPosition = 0;
    emit historyChanged();
}

// --- Selection ------------------------------------------------------------------------------------

CTekDialogData* ProjectDocument::DialogOf(const TekClass& node) const
{
    return DialogOfNode(m_resource, node);
}

TekClass* ProjectDocument::ParentOf(const TekClass& node) const
{
    return TreeParentOf(m_resource, node);
}

void ProjectDocument::SetSelection(TekClass* selected, TekClass* highlighted)
{
    m_selected = selected;
    m_highlighted = highlighted;
    emit selectionChanged();
}

void ProjectDocument::ChangeCurrentDialog(CTekDialogData* dialog)
{
    if (dialog == m_currentDialog)
        return;
    m_currentDialog = dialog;
    if (dialog)
        BeginDialogEdit(*dialog);
    emit currentDialogChanged(dialog);
}

void ProjectDocument::SetCurrentDialog(CTekDialogData* dialog)
{
    if (dialog == m_currentDialog)
        return;
    ChangeCurrentDialog(dialog);
    SetSelection(dialog, dialog);
}

EditResult ProjectDocument::Select(TekClass* node, bool keepMarks)
{
    // Views may report selections of their own while rows change; the operation selects after.
    if (m_changing > 0)
        return {};
    if (!node)
        return EditResult::Refused(Tr(kNoResource), true);
    switch (node->Type()) {
    case NodeType::Resource:
    case NodeType::DialogList:
        SetSelection(node, node);
        return EditResult::Done(node);
    case NodeType::Dialog: {
        auto* dialog = static_cast<CTekDialogData*>(node);
        if (CObjectData* root = dialog->RootObject())
            root->SetMark(0);
        ChangeCurrentDialog(dialog);
        SetSelection(node, node);
        emit marksChanged(dialog);
        emit dialogChosen(dialog);
        return EditResult::Done(node);
    }
    default:
        break;
    }

    TekClass* taken = node;
    if (node->Type() == NodeType::HeaderColumn || node->Type() == NodeType::Command) {
        taken = ParentOf(*node);
        if (!taken) {
            SetSelection(node, node);
            return EditResult::Refused(Tr(kNoHeaderOwner), true);
        }
    }
    CTekDialogData* dialog = DialogOf(*taken);
    if (!dialog) {
        SetSelection(node, node);
        return EditResult::Done(node);
    }
    ChangeCurrentDialog(dialog);
    CObjectData* root = dialog->RootObject();
    if (root && !keepMarks)
        root->SetMark(0);
    TekClass* highlighted = node;
    if (IsObjectOrGroup(taken)) {
        auto* object = static_cast<CObjectData*>(taken);
        if (object->GetMark()) {
            object->SetMark(0);
            CObjectData* marked = root ? root->FindMarked() : nullptr;
            highlighted = marked ? static_cast<TekClass*>(marked) : dialog;
        } else {
            object->SetMark(1);
        }
    }
    SetSelection(node, highlighted);
    emit marksChanged(dialog);
    emit dialogChosen(dialog);
    return EditResult::Done(node);
}

void ProjectDocument::ClearSelection()
{
    if (m_changing == 0 && (m_selected || m_highlighted))
        SetSelection(nullptr, nullptr);
}

void ProjectDocument::ChooseAfterEdit(TekClass* node)
{
    if (node)
        Select(node, false);
    else
        SetSelection(nullptr, nullptr);
}

// --- Telling the views ---------------------------------------------------------------------------

void ProjectDocument::InsertRows(TekClass& parent, int row, int count, const std::function<void()>& change)
{
    const ChangeGuard guard(m_changing);
    emit nodesAboutToBeInserted(&parent, row, row + count - 1);
    change();
    emit nodesInserted(&parent, row, row + count - 1);
}

void ProjectDocument::RemoveRows(TekClass& parent, int row, int count, const std::function<void()>& change)
{
    const ChangeGuard guard(m_changing);
    emit nodesAboutToBeRemoved(&parent, row, row + count - 1);
    change();
    emit nodesRemoved(&parent, row, row + count - 1);
}

void ProjectDocument::MoveRow(TekClass& parent, int from, int to, const std::function<void()>& change)
{
    const ChangeGuard guard(m_changing);
    emit nodeAboutToBeMoved(&parent, from, to);
    change();
    emit nodeMoved(&parent, from, to);
}

void ProjectDocument::ResetChildren(TekClass& parent, const std::function<void()>& change)
{
    const ChangeGuard guard(m_changing);
    emit childrenAboutToBeReset(&parent);
    change();
    emit childrenReset(&parent);
}

// --- Steps ------------------------------------------------------------------------------------------

void ProjectDocument::BeginDialogEdit(CTekDialogData& dialog)
{
    if (dialog.UndoHistory().RecordCount() == 0)
        RecordUndoStep(dialog);
}

void ProjectDocument::EndDialogEdit(CTekDialogData& dialog)
{
    FinishDialogEdit(dialog);
}

void ProjectDocument::FinishDialogEdit(CTekDialogData& dialog)
{
    if (RecordUndoStep(dialog)) {
        const int index = m_resource.Dialogs().IndexOf(&dialog);
        if (index >= 0) {
            Step step;
            step.dialog = m_resource.Dialogs().PtrAt(index);
            PushStep(std::move(step));
        }
    }
    SetModified(true);
    emit dialogChanged(&dialog);
}

std::vector<DialogPtr> ProjectDocument::DialogList() const
{
    std::vector<DialogPtr> dialogs;
    const CTekDialogDataList& list = m_resource.Dialogs();
    dialogs.reserve(static_cast<size_t>(list.Count()));
    for (int i = 0; i < list.Count(); ++i)
        dialogs.push_back(list.PtrAt(i));
    return dialogs;
}

void ProjectDocument::SetDialogList(const std::vector<DialogPtr>& dialogs)
{
    CTekDialogDataList& list = m_resource.Dialogs();
    while (list.Count() > 0)
        list.RemoveAt(list.Count() - 1);
    for (const DialogPtr& dialog : dialogs)
        list.Append(dialog);
}

void ProjectDocument::FinishListEdit(std::vector<DialogPtr> before, const CTekDialogData* focus)
{
    Step step;
    step.listStep = true;
    step.before = std::move(before);
    step.after = DialogList();
    for (const std::vector<DialogPtr>* list : {&step.before, &step.after})
        for (const DialogPtr& dialog : *list)
            if (dialog.get() == focus)
                step.dialog = dialog;
    PushStep(std::move(step));
    SetModified(true);
    emit dialogChanged(nullptr);
}

void ProjectDocument::FinishItemsEdit(TekClass& node, CItemList before)
{
    Step step;
    step.itemsOwner = &node;
    step.itemsBefore = std::move(before);
    step.itemsAfter = node.Items().Clone();
    PushStep(std::move(step));
    SetModified(true);
    emit dialogChanged(nullptr);
}

TekClass* ProjectDocument::RestoreItems(const Step& step, bool redo)
{
    // The project's own items: the resource and the dialog list live as long as the document.
    step.itemsOwner->Items() = (redo ? step.itemsAfter : step.itemsBefore).Clone();
    emit itemsReset(step.itemsOwner);
    SetModified(true);
    emit dialogChanged(nullptr);
    return step.itemsOwner;
}

void ProjectDocument::PushStep(Step step)
{
    m_history.resize(m_historyPosition);
    m_history.push_back(std::move(step));
    m_historyPosition = m_history.size();
    emit historyChanged();
}

// --- Item values ------------------------------------------------------------------------------------

TekClass* ProjectDocument::DetachForEdit(TekClass& node)
{
    TekClass* owner = ParentOf(node);
    TekList* list = ListHolding(owner, node);
    const int index = list ? IndexIn(*list, &node) : -1;
    if (index < 0)
        return &node;
    auto copy = std::make_shared<TekClass>(node.Type());
    copy->CopyFrom(node);
    (*list)[static_cast<size_t>(index)] = copy;
    if (m_selected == &node)
        m_selected = copy.get();
    if (m_highlighted == &node)
        m_highlighted = copy.get();
    return copy.get();
}

std::optional<Refusal> ProjectDocument::CheckItemValue(const TekClass& node, int row, const std::string& value) const
{
    const ItemRole role = node.Items().At(row).Def().role;
    if (role == ItemRole::TypeSelector && node.Type() == NodeType::Object) {
        const auto& object = static_cast<const CObjectData&>(node);
        const CObjectDataList* parent = object.ParentGroup();
        if (object.ObjectTypeCode(value) == OBJ_RADIOBTN && parent && parent->LayoutCode() != LAYOUT_RADIO)
            return Refusal{Tr(kRadioOutsideRadioGroup), false};
    }
    if (role == ItemRole::Name && node.Type() == NodeType::Dialog) {
        if (const std::string bad = FirstBadNameCharacter(value); !bad.empty())
            return Refusal{Tr(QT_TRANSLATE_NOOP("vesk::ProjectDocument",
                                                    "ダイアログ名に「%1」は使えません。\n英字、数字と _ だけが使えます。"),
                                  ToUtf8(bad)), false};
    }
    return std::nullopt;
}

TekClass& ProjectDocument::ApplyItemValue(TekClass& node, int row, std::string value, EditResult& result)
{
    const ItemRole role = node.Items().At(row).Def().role;
    TekClass& target = *DetachForEdit(node);
    target.Items().At(row).SetValue(std::move(value));
    emit itemChanged(&target, row);

    switch (role) {
    case ItemRole::Name:
        if (target.Type() == NodeType::Dialog)
            ApplyNameRole(target, result);
        break;
    case ItemRole::TypeSelector:
        if (target.Type() == NodeType::Object) {
            auto& object = static_cast<CObjectData&>(target);
            RebuildObjectItems(object, object.ObjectTypeCode());
            emit itemsReset(&object);
        }
        break;
    case ItemRole::LayoutSelector:
        if (target.Type() == NodeType::Group) {
            auto& group = static_cast<CObjectDataList&>(target);
            RebuildGroupItems(group, group.LayoutCode());
            emit itemsReset(&group);
        }
        break;
    case ItemRole::Columns:
        if (target.Type() == NodeType::Object)
            AddHeaderColumn(static_cast<CObjectData&>(target));
        break;
    case ItemRole::Event:
        if (target.Type() == NodeType::Dialog || IsObjectOrGroup(&target))
            AddEventCommand(target, row);
        break;
    default:
        break;
    }
    return target;
}

EditResult ProjectDocument::SetItemValue(TekClass& node, int row, std::string value)
{
    if (!m_editingEnabled || !IsInTree(m_resource, node) || row < 0 || row >= node.Items().Count())
        return {};
    if (auto refusal = CheckItemValue(node, row, value))
        return EditResult{false, nullptr, std::move(refusal), {}};

    CTekDialogData* dialog = DialogOf(node);
    if (dialog)
        BeginDialogEdit(*dialog);
    CItemList itemsBefore = dialog ? CItemList() : node.Items().Clone();
    EditResult result = EditResult::Done(nullptr);
    TekClass& target = ApplyItemValue(node, row, std::move(value), result);
    result.select = &target;

    if (dialog)
        FinishDialogEdit(*dialog);
    else
        FinishItemsEdit(target, std::move(itemsBefore));
    if (&target != &node && m_selected == &target)
        emit selectionChanged();
    return result;
}

void ProjectDocument::ApplyNameRole(TekClass& dialogNode, EditResult& result)
{
    const std::string& given = dialogNode.GetItem("Name");
    const std::string wanted = given.empty() ? std::string("Dialog") : given;
    const CTekDialogDataList& dialogs = m_resource.Dialogs();
    auto takenByAnother = [&](const std::string& name) {
        for (int i = 0; i < dialogs.Count(); ++i)
            if (&dialogs.At(i) != &dialogNode && dialogs.At(i).GetItem("Name") == name)
                return true;
        return false;
    };
    std::string name = wanted;
    for (int n = 2; takenByAnother(name); ++n)
        name = Numbered(wanted, n);
    if (name != given) {
        if (!given.empty())
            result.status = Tr(QT_TRANSLATE_NOOP("vesk::ProjectDocument", "ダイアログ名 %1 は使われているため %2 にしました。"),
                               ToUtf8(given), ToUtf8(name));
        dialogNode.SetItem("Name", name);
        emit itemChanged(&dialogNode, RowOfItem(dialogNode, "Name"));
    }
}

void ProjectDocument::AddHeaderColumn(CObjectData& object)
{
    TekList& headers = object.HeaderColumns();
    if (object.GetItem("Columns") == AddHeaderChoice()) {
        auto header = std::make_shared<TekClass>(NodeType::HeaderColumn);
        BuildHeaderItems(*header);
        InsertRows(object, static_cast<int>(headers.size()), 1, [&] { headers.push_back(header); });
    }
    object.SetItem("Columns", std::to_string(headers.size()));
    emit itemChanged(&object, RowOfItem(object, "Columns"));
}

void ProjectDocument::AddEventCommand(TekClass& node, int row)
{
    const std::string command = node.Items().At(row).Value();
    const std::string eventName = node.Items().At(row).Name();
    if (command != CancelChoice()) {
        auto commandNode = std::make_shared<TekClass>(NodeType::Command);
        BuildCommandItems(*commandNode, command, eventName);
        int place = 0;
        if (node.Type() == NodeType::Dialog)
            place = static_cast<int>(static_cast<CTekDialogData&>(node).Commands().size());
        else
            place = static_cast<int>(static_cast<CObjectData&>(node).CommandList().size()) +
                    (node.Type() == NodeType::Object
                         ? static_cast<int>(static_cast<CObjectData&>(node).HeaderColumns().size())
                         : 0);
        InsertRows(node, place, 1, [&] { node.AddCommand(commandNode); });
    }
    node.Items().At(row).SetValue(std::string());
    emit itemChanged(&node, row);
}

EditResult ProjectDocument::AssignImage(TekClass& node, int row, ImageSource source, const std::string& imageName)
{
    if (!m_editingEnabled || !IsInTree(m_resource, node) || row < 0 || row >= node.Items().Count())
        return {};
    if (node.Items().At(row).Def().role != ItemRole::Image)
        return {};
    CTekDialogData* dialog = DialogOf(node);
    if (dialog)
        BeginDialogEdit(*dialog);
    CItemList itemsBefore = dialog ? CItemList() : node.Items().Clone();
    TekClass& target = *DetachForEdit(node);
    const std::string itemName = target.Items().At(row).Name();
    target.Items().At(row).SetValue(imageName);
    const std::string& fileSource = target.GetItem("FileSource");
    if (source == ImageSource::Builtin && !fileSource.empty() && fileSource != "BUILTIN")
        target.SetItem("FileSource", "BUILTIN");
    else if (source == ImageSource::Station && fileSource != "STATION")
        target.SetItem("FileSource", "STATION");
    std::string position;
    if (const char* centreItem = CentrePositionItem(itemName);
        centreItem && CentrePositionOfImageName(imageName, position))
        target.SetItem(centreItem, position);
    emit itemsReset(&target);
    if (dialog)
        FinishDialogEdit(*dialog);
    else
        FinishItemsEdit(target, std::move(itemsBefore));
    if (&target != &node && m_selected == &target)
        emit selectionChanged();
    return EditResult::Done(&target);
}

// --- Structure ------------------------------------------------------------------------------------------

EditResult ProjectDocument::Move(TekClass* operand, int delta)
{
    if (!m_editingEnabled)
        return EditResult::Refused(Tr(kNoResource), true);
    if (!operand || !IsInTree(m_resource, *operand))
        return {};
    TekClass& node = *operand;
    TekClass* owner = ParentOf(node);
    switch (node.Type()) {
    case NodeType::Dialog: {
        CTekDialogDataList& dialogs = m_resource.Dialogs();
        const int index = dialogs.IndexOf(static_cast<CTekDialogData*>(&node));
        if (index < 0 || index + delta < 0 || index + delta >= dialogs.Count())
            return {};
        std::vector<DialogPtr> before = DialogList();
        MoveRow(m_resource, index, index + delta, [&] { dialogs.Swap(index, index + delta); });
        FinishListEdit(std::move(before), static_cast<CTekDialogData*>(&node));
        return EditResult::Done(&node);
    }
    case NodeType::Object:
    case NodeType::Group: {
        auto& object = static_cast<CObjectData&>(node);
        CObjectDataList* parent = object.ParentGroup();
        CTekDialogData* dialog = DialogOf(node);
        if (!parent || !dialog)
            return {};
        const int index = parent->IndexOfChild(&object);
        const int target = index + delta;
        if (index < 0 || target < 0 || target >= parent->ChildCount())
            return {};
        BeginDialogEdit(*dialog);
        const int row = TreeRowOf(*parent, &object);
        MoveRow(*parent, row, row + delta, [&] {
            ObjectPtr keep = parent->ChildPtrAt(index);
            const ObjectPtr neighbour = parent->ChildPtrAt(target);
            parent->RemoveChild(&object);
            parent->InsertChild(keep, neighbour.get(), delta < 0 ? 1 : 0);
        });
        FinishDialogEdit(*dialog);
        return EditResult::Done(&node);
    }
    case NodeType::HeaderColumn:
    case NodeType::Command: {
        if (node.Type() == NodeType::HeaderColumn && !IsObjectOrGroup(owner))
            return EditResult::Refused(Tr(kNoHeaderOwner), true);
        TekList* list = ListHolding(owner, node);
        CTekDialogData* dialog = DialogOf(node);
        const int index = list ? IndexIn(*list, &node) : -1;
        if (index < 0 || !dialog || index + delta < 0 || index + delta >= static_cast<int>(list->size()))
            return {};
        BeginDialogEdit(*dialog);
        const int row = TreeRowOf(*owner, &node);
        MoveRow(*owner, row, row + delta,
                [&] { std::swap((*list)[static_cast<size_t>(index)], (*list)[static_cast<size_t>(index + delta)]); });
        FinishDialogEdit(*dialog);
        return EditResult::Done(&node);
    }
    default:
        return {};
    }
}

std::string ProjectDocument::RecordOf(const TekClass& node) const
{
    CJsonString text;
    if (node.Type() == NodeType::Dialog)
        WriteDialog(static_cast<const CTekDialogData&>(node), text, 0);
    else if (IsObjectOrGroup(&node))
        static_cast<const CObjectData&>(node).WriteRecord(text, 0);
    return text.Text();
}

EditResult ProjectDocument::Remove(TekClass* operand, std::string* record)
{
    if (!m_editingEnabled)
        return EditResult::Refused(Tr(kNoResource), true);
    if (!operand)
        return {};
    TekClass& node = *operand;
    if (node.Type() == NodeType::Resource || node.Type() == NodeType::DialogList || !IsInTree(m_resource, node))
        return {};
    if (record)
        *record = RecordOf(node);
    TekClass* owner = ParentOf(node);

    if (node.Type() == NodeType::Dialog) {
        CTekDialogDataList& dialogs = m_resource.Dialogs();
        auto* dialog = static_cast<CTekDialogData*>(&node);
        const int index = dialogs.IndexOf(dialog);
        CTekDialogData* next = nullptr;
        if (dialogs.Count() > 1)
            next = &dialogs.At(index + 1 < dialogs.Count() ? index + 1 : index - 1);
        std::vector<DialogPtr> before = DialogList();
        if (m_currentDialog == dialog)
            ChangeCurrentDialog(nullptr);
        m_selected = m_highlighted = nullptr;
        RemoveRows(m_resource, index, 1, [&] { dialogs.RemoveAt(index); });
        FinishListEdit(std::move(before), dialog);
        ChooseAfterEdit(next);
        return EditResult::Done(next);
    }

    CTekDialogData* dialog = DialogOf(node);
    if (!dialog)
        return {};
    if (node.Type() == NodeType::HeaderColumn && !IsObjectOrGroup(owner))
        return EditResult::Refused(Tr(kNoHeaderOwner), true);
    BeginDialogEdit(*dialog);
    TekClass* select = owner;
    const int row = TreeRowOf(*owner, &node);
    m_selected = m_highlighted = nullptr;
    switch (node.Type()) {
    case NodeType::HeaderColumn: {
        // The columns after it are numbered anew: the owner's rows read anew as a whole.
        TekList* list = ListHolding(owner, node);
        ResetChildren(*owner, [&] { list->erase(list->begin() + IndexIn(*list, &node)); });
        break;
    }
    case NodeType::Command: {
        TekList* list = ListHolding(owner, node);
        RemoveRows(*owner, row, 1, [&] { list->erase(list->begin() + IndexIn(*list, &node)); });
        break;
    }
    default: {
        auto& object = static_cast<CObjectData&>(node);
        const ObjectPtr keep = std::static_pointer_cast<CObjectData>(object.shared_from_this());
        if (CObjectDataList* parent = object.ParentGroup())
            RemoveRows(*owner, row, 1, [&] { parent->RemoveChild(&object); });
        else
            RemoveRows(*owner, row, 1, [&] { dialog->SetRoot(nullptr); });
        break;
    }
    }
    FinishDialogEdit(*dialog);
    ChooseAfterEdit(select);
    return EditResult::Done(select);
}

EditResult ProjectDocument::GroupOrUngroup(TekClass* operand)
{
    CTekDialogData* dialog = m_currentDialog;
    if (!operand)
        return {};
    TekClass& node = *operand;
    if (!IsObjectOrGroup(&node) || !dialog || !dialog->RootGroup() || DialogOf(node) != dialog)
        return {};
    CObjectDataList* root = dialog->RootGroup();
    const int marked = root->CountMarked();
    if (marked < 1)
        return {};
    auto& selected = static_cast<CObjectData&>(node);
    const bool ungroup = selected.IsGroup() && selected.CountMarked() == marked;
    if (ungroup && &selected == root)
        return EditResult::Refused(Tr(kRootCannotUngroup), true);
    if (!ungroup && !selected.ParentGroup())
        return {};
    BeginDialogEdit(*dialog);
    CObjectData* select = nullptr;
    ResetChildren(*dialog, [&] {
        if (ungroup)
            select = static_cast<CObjectDataList&>(selected).Ungroup();
        else
            select = root->GroupMarked(selected).get();
    });
    FinishDialogEdit(*dialog);
    ChooseAfterEdit(select ? static_cast<TekClass*>(select) : dialog);
    return EditResult::Done(select);
}

std::optional<Refusal> ProjectDocument::FindPlacement(TekClass& selected, InsertPosition position, bool newIsGroup,
                                                      Placement& placement) const
{
    placement.position = position;
    switch (selected.Type()) {
    case NodeType::Dialog: {
        auto& dialog = static_cast<CTekDialogData&>(selected);
        placement.dialog = &dialog;
        if (CObjectDataList* root = dialog.RootGroup()) {
            placement.target = root;
            return std::nullopt;
        }
        if (dialog.RootObject()) {
            placement.dialog = nullptr; // a dialog whose top node is an object takes nothing
            return std::nullopt;
        }
        if (!newIsGroup)
            return Refusal{Tr(kNeedGroup), false};
        placement.target = nullptr;
        return std::nullopt;
    }
    case NodeType::Object: {
        auto& object = static_cast<CObjectData&>(selected);
        placement.dialog = DialogOf(object);
        placement.target = object.ParentGroup();
        placement.after = &object;
        placement.position = InsertPosition::After;
        if (!placement.target)
            placement.dialog = nullptr;
        return std::nullopt;
    }
    case NodeType::Group: {
        auto& group = static_cast<CObjectDataList&>(selected);
        placement.dialog = DialogOf(group);
        if (position == InsertPosition::After && group.ParentGroup()) {
            placement.target = group.ParentGroup();
            placement.after = &group;
        } else if (position == InsertPosition::After) {
            placement.target = &group;
            placement.position = InsertPosition::LastChild;
        } else {
            placement.target = &group;
        }
        return std::nullopt;
    }
    default:
        return Refusal{Tr(kSelectDialogOrObject), false};
    }
}

void ProjectDocument::PlaceNode(const Placement& placement, const std::shared_ptr<CObjectData>& node)
{
    CTekDialogData& dialog = *placement.dialog;
    if (!placement.target) {
        node->SetParentGroup(nullptr);
        InsertRows(dialog, static_cast<int>(dialog.Commands().size()), 1, [&] { dialog.SetRoot(node); });
        return;
    }
    CObjectDataList& target = *placement.target;
    int index = target.ChildCount();
    if (placement.after)
        index = target.IndexOfChild(placement.after) + 1;
    else if (placement.position == InsertPosition::FirstChild)
        index = 0;
    if (index <= 0 && placement.after)
        index = target.ChildCount();
    node->SetParentGroup(&target);
    InsertRows(target, static_cast<int>(target.CommandList().size()) + index, 1, [&] {
        if (placement.after)
            target.InsertChild(node, placement.after, 0);
        else if (placement.position == InsertPosition::FirstChild)
            target.InsertChild(node, nullptr, 1);
        else
            target.AppendChild(node);
    });
}

EditResult ProjectDocument::InsertNew(TekClass* selected, std::string_view typeName, InsertPosition position)
{
    return InsertNewAt(selected, typeName, position, std::nullopt);
}

void ProjectDocument::SetFramePoint(CObjectData& node, std::optional<FramePoint> point)
{
    const CObjectDataList* parent = node.ParentGroup();
    if (!point || !parent || parent->LayoutCode() != LAYOUT_FRAME)
        return;
    const int rowX = RowOfItem(node, "PosX");
    const int rowY = RowOfItem(node, "PosY");
    if (rowX >= 0)
        node.Items().At(rowX).SetValue(std::to_string(point->x));
    if (rowY >= 0)
        node.Items().At(rowY).SetValue(std::to_string(point->y));
}

EditResult ProjectDocument::InsertNewAt(TekClass* selected, std::string_view typeName, InsertPosition position,
                                        std::optional<FramePoint> point)
{
    bool isGroup = false;
    const int code = CodeOfTypeName(typeName, isGroup);
    if (!m_editingEnabled)
        return EditResult::Refused(Tr(kNoResourceData), true);
    if (!selected)
        return EditResult::Refused(Tr(kSelectPlace), false);
    if (code < 0)
        return {};
    Placement placement;
    if (auto refusal = FindPlacement(*selected, position, isGroup, placement))
        return EditResult{false, nullptr, std::move(refusal), {}};
    if (!placement.dialog)
        return {};
    CTekDialogData& dialog = *placement.dialog;
    if (!isGroup && code == OBJ_RADIOBTN && placement.target && placement.target->LayoutCode() != LAYOUT_RADIO)
        return EditResult::Refused(Tr(kRadioOutsideRadioGroup), false);
    BeginDialogEdit(dialog);
    if (placement.target) {
        placement.target->ClearMarks();
        placement.target->SetExpanded(true);
    }
    std::shared_ptr<CObjectData> node;
    if (isGroup) {
        auto group = std::make_shared<CObjectDataList>(placement.target);
        BuildGroupItems(*group, code);
        node = group;
    } else {
        node = std::make_shared<CObjectData>(placement.target);
        BuildObjectItems(*node, code);
        if (code == OBJ_GRID) {
            auto header = std::make_shared<TekClass>(NodeType::HeaderColumn);
            BuildHeaderItems(*header);
            node->HeaderColumns().push_back(header);
            node->SetItem("Columns", "1");
        }
    }
    node->SetMark(1);
    SetFramePoint(*node, point);
    PlaceNode(placement, node);
    FinishDialogEdit(dialog);
    ChooseAfterEdit(node.get());
    return EditResult::Done(node.get());
}

EditResult ProjectDocument::Paste(TekClass* selected, const std::string& text, InsertPosition position)
{
    if (text.empty())
        return {};
    if (!m_editingEnabled)
        return EditResult::Refused(Tr(kNoResourceData), true);
    if (!selected)
        return EditResult::Refused(Tr(kSelectPlace), false);
    JsonParser parser;
    if (!parser.Parse(text))
        return EditResult::Refused(ToUtf8(parser.ErrorText), false);
    EditResult pasted = PasteDialogs(text);
    if (pasted.done)
        return pasted;
    if (parser.IsArray(kSeveralNodesKey) && parser.IsNull("Type"))
        return PasteObjects(text, *selected, position);
    return PasteObject(text, *selected, position);
}

EditResult ProjectDocument::PasteDialogs(const std::string& text)
{
    JsonParser parser;
    parser.Parse(text);
    std::string command;
    parser.GetString("Command", command);
    if (!parser.IsArray("Commands") && command != "DIALOG" && command != "HELLO" && command != "CHANGE" &&
        command != "CONDITION")
        return {};
    std::vector<DialogPtr> before = DialogList();
    bool read = false;
    ResetChildren(m_resource, [&] {
        if (parser.IsArray("Commands")) {
            read = true;
            JsonArrayWalk walk(parser, parser.GetArray("Commands"));
            while (walk.NextElement())
                ReadCommandRecord(m_resource, parser);
        } else {
            read = ReadCommandRecord(m_resource, parser);
        }
    });
    if (!read)
        return {};
    if (m_resource.Dialogs().Count() != static_cast<int>(before.size()))
        FinishListEdit(std::move(before));
    emit selectionChanged();
    return EditResult::Done(m_currentDialog);
}

void ProjectDocument::MakeNamesUnique(CTekDialogData& dialog, CObjectData& node)
{
    std::unordered_set<std::string> names;
    if (CObjectData* root = dialog.RootObject())
        CollectNames(*root, &node, names);
    std::function<void(CObjectData&)> rename = [&](CObjectData& at) {
        const std::string wanted = at.GetItem("Name");
        if (!wanted.empty()) {
            std::string name = wanted;
            for (int n = 2; names.count(name) > 0; ++n)
                name = Numbered(wanted, n);
            if (name != wanted)
                at.SetItem("Name", name);
            names.insert(name);
        }
        if (at.IsGroup())
            for (const ObjectPtr& child : static_cast<CObjectDataList&>(at).Children())
                rename(*child);
    };
    rename(node);
}

EditResult ProjectDocument::PasteObject(const std::string& text, TekClass& selected, InsertPosition position)
{
    JsonParser parser;
    parser.Parse(text);
    // Read once without a parent to learn whether the record is a group.
    ObjectPtr node = ReadObjectRecord(nullptr, parser);
    if (!node)
        return {};
    Placement placement;
    if (auto refusal = FindPlacement(selected, position, node->IsGroup(), placement))
        return EditResult{false, nullptr, std::move(refusal), {}};
    if (!placement.dialog)
        return {};
    CTekDialogData& dialog = *placement.dialog;
    BeginDialogEdit(dialog);
    ObjectPtr placed = node;
    if (placement.target) {
        // Read again inside the target, since some items depend on the layout of the parent.
        JsonParser again;
        again.Parse(text);
        placed = ReadObjectRecord(placement.target, again);
        placement.target->RemoveChild(placed.get());
        MakeNamesUnique(dialog, *placed);
        placement.target->ClearMarks();
        placement.target->SetExpanded(true);
        PlaceNode(placement, placed);
    } else {
        // A dialog without a root group gets an empty one holding the pasted group.
        auto root = std::make_shared<CObjectDataList>(nullptr);
        BuildGroupItems(*root, -1);
        root->SetExpanded(true);
        root->AppendChild(node);
        node->SetParentGroup(root.get());
        InsertRows(dialog, static_cast<int>(dialog.Commands().size()), 1, [&] { dialog.SetRoot(root); });
    }
    FinishDialogEdit(dialog);
    ChooseAfterEdit(placed.get());
    return EditResult::Done(placed.get());
}

EditResult ProjectDocument::PasteObjects(const std::string& text, TekClass& selected, InsertPosition position)
{
    JsonParser parser;
    parser.Parse(text);
    Placement placement;
    if (auto refusal = FindPlacement(selected, position, false, placement))
        return EditResult{false, nullptr, std::move(refusal), {}};
    if (!placement.dialog)
        return {};
    if (!placement.target)
        return EditResult::Refused(Tr(kNeedGroup), false);
    CTekDialogData& dialog = *placement.dialog;
    CObjectDataList& target = *placement.target;
    int index = target.ChildCount();
    if (placement.after)
        index = target.IndexOfChild(placement.after) + 1;
    else if (placement.position == InsertPosition::FirstChild)
        index = 0;
    std::vector<ObjectPtr> nodes;
    JsonArrayWalk walk(parser, parser.GetArray(kSeveralNodesKey));
    while (walk.NextElement()) {
        const JsonValue* element = parser.Cursor();
        ObjectPtr node = ReadObjectRecord(&target, parser);
        parser.SetCursor(element);
        if (!node)
            continue;
        target.RemoveChild(node.get());
        nodes.push_back(node);
    }
    if (nodes.empty())
        return {};
    BeginDialogEdit(dialog);
    target.ClearMarks();
    target.SetExpanded(true);
    for (const ObjectPtr& node : nodes) {
        MakeNamesUnique(dialog, *node);
        PlaceChildAt(target, index++, node);
    }
    FinishDialogEdit(dialog);
    std::vector<CObjectData*> pasted;
    for (const ObjectPtr& node : nodes)
        pasted.push_back(node.get());
    MarkObjects(&dialog, pasted);
    return EditResult::Done(nodes.front().get());
}

EditResult ProjectDocument::AddDialog(std::string_view name)
{
    std::vector<DialogPtr> before = DialogList();
    CTekDialogDataList& dialogs = m_resource.Dialogs();
    CTekDialogData* added = nullptr;
    if (m_treeShown && m_editingEnabled) {
        InsertRows(m_resource, dialogs.Count(), 1, [&] { added = &dialogs.AddDialog(name); });
    } else {
        added = &dialogs.AddDialog(name);
        m_editingEnabled = m_treeShown = true;
        const ChangeGuard guard(m_changing);
        emit projectReset();
    }
    FinishListEdit(std::move(before), added);
    SetCurrentDialog(added);
    return EditResult::Done(added);
}

// --- Drops ----------------------------------------------------------------------------------------------

std::optional<Refusal> ProjectDocument::CheckDropNew(const TekClass* on, std::string_view typeName) const
{
    if (!m_editingEnabled)
        return Refusal{Tr(kNoResourceData), true};
    bool isGroup = false;
    const int code = CodeOfTypeName(typeName, isGroup);
    if (code < 0 || !IsObjectOrGroup(on) || !IsInTree(m_resource, *on))
        return Refusal{Tr(kSelectDialogOrObject), false};
    const auto& object = static_cast<const CObjectData&>(*on);
    const CObjectDataList* target =
        object.IsGroup() ? static_cast<const CObjectDataList*>(&object) : object.ParentGroup();
    if (!target)
        return Refusal{Tr(kNeedGroup), false};
    if (!isGroup && code == OBJ_RADIOBTN && target->LayoutCode() != LAYOUT_RADIO)
        return Refusal{Tr(kRadioOutsideRadioGroup), false};
    return std::nullopt;
}

EditResult ProjectDocument::DropNew(TekClass* on, std::string_view typeName, std::optional<FramePoint> point)
{
    if (auto refusal = CheckDropNew(on, typeName))
        return EditResult{false, nullptr, std::move(refusal), {}};
    const bool intoGroup = on->Type() == NodeType::Group;
    return InsertNewAt(on, typeName, intoGroup ? InsertPosition::LastChild : InsertPosition::After, point);
}

bool ProjectDocument::DropDestination(const TekClass& on, DropPlace place, CObjectDataList*& group, int& index) const
{
    if (!IsObjectOrGroup(&on))
        return false;
    const auto& object = static_cast<const CObjectData&>(on);
    CObjectDataList* parent = object.ParentGroup();
    // The root group has no siblings: whatever comes before or after it goes into it.
    if (place == DropPlace::Into || !parent) {
        if (!object.IsGroup())
            return false;
        group = const_cast<CObjectDataList*>(static_cast<const CObjectDataList*>(&object));
        index = group->ChildCount();
        if (parent == nullptr && place == DropPlace::Before)
            index = 0;
        return true;
    }
    group = parent;
    index = parent->IndexOfChild(&object) + (place == DropPlace::After ? 1 : 0);
    return true;
}

std::optional<Refusal> ProjectDocument::CheckMoveTo(const TekClass* node, const TekClass* on, DropPlace place,
                                                    bool copy) const
{
    if (!m_editingEnabled)
        return Refusal{Tr(kNoResource), true};
    if (!node || !on || !IsInTree(m_resource, *node) || !IsInTree(m_resource, *on))
        return Refusal{Tr(kSelectDialogOrObject), false};
    switch (node->Type()) {
    case NodeType::Dialog:
        if (on->Type() != NodeType::Dialog || place == DropPlace::Into)
            return Refusal{Tr(kMoveDialogAmongDialogs), false};
        return std::nullopt;
    case NodeType::HeaderColumn:
    case NodeType::Command: {
        const TekClass* owner = ParentOf(*node);
        if (on->Type() != node->Type() || place == DropPlace::Into || ParentOf(*on) != owner)
            return Refusal{Tr(kMoveWithinOwner), false};
        return std::nullopt;
    }
    case NodeType::Object:
    case NodeType::Group: {
        CObjectDataList* group = nullptr;
        int index = 0;
        if (!DropDestination(*on, place, group, index))
            return Refusal{Tr(kSelectDialogOrObject), false};
        const auto& object = static_cast<const CObjectData&>(*node);
        if (!object.ParentGroup())
            return Refusal{Tr(kRootCannotMove), true};
        if (object.IsGroup() && static_cast<const CObjectDataList&>(object).Contains(group))
            return Refusal{Tr(kIntoOwnSubtree), false};
        if (!copy && DialogOf(*group) != DialogOf(object))
            return Refusal{Tr(kMoveWithinDialog), false};
        if (!object.IsGroup() && object.ObjectTypeCode() == OBJ_RADIOBTN && group->LayoutCode() != LAYOUT_RADIO)
            return Refusal{Tr(kRadioOutsideRadioGroup), false};
        return std::nullopt;
    }
    default:
        return Refusal{Tr(kSelectDialogOrObject), false};
    }
}

void ProjectDocument::PlaceChildAt(CObjectDataList& group, int index, const std::shared_ptr<CObjectData>& node)
{
    index = std::clamp(index, 0, group.ChildCount());
    node->SetParentGroup(&group);
    InsertRows(group, static_cast<int>(group.CommandList().size()) + index, 1, [&] {
        if (index >= group.ChildCount())
            group.AppendChild(node);
        else
            group.InsertChild(node, &group.ChildAt(index), 1);
    });
}

EditResult ProjectDocument::MoveTo(TekClass* node, TekClass* on, DropPlace place, bool copy,
                                   std::optional<FramePoint> point)
{
    if (auto refusal = CheckMoveTo(node, on, place, copy))
        return EditResult{false, nullptr, std::move(refusal), {}};
    if (node->Type() == NodeType::Dialog)
        return MoveDialog(static_cast<CTekDialogData&>(*node), static_cast<CTekDialogData&>(*on), place, copy);
    if (node->Type() == NodeType::HeaderColumn || node->Type() == NodeType::Command)
        return MoveOwnedNode(*node, *on, place, copy);

    auto& object = static_cast<CObjectData&>(*node);
    CObjectDataList* group = nullptr;
    int index = 0;
    DropDestination(*on, place, group, index);
    CObjectDataList* from = object.ParentGroup();
    const int fromIndex = from->IndexOfChild(&object);
    const bool framePoint = point && group->LayoutCode() == LAYOUT_FRAME;
    // Dropped where it stands already.
    if (!copy && !framePoint && group == from && (index == fromIndex || index == fromIndex + 1))
        return {};
    CTekDialogData& dialog = *DialogOf(*group);
    BeginDialogEdit(dialog);
    m_selected = m_highlighted = nullptr;
    ObjectPtr placed;
    if (copy) {
        JsonParser parser;
        parser.Parse(RecordOf(object));
        placed = ReadObjectRecord(group, parser);
        if (!placed)
            return {};
        group->RemoveChild(placed.get());
        MakeNamesUnique(dialog, *placed);
    } else {
        placed = from->ChildPtrAt(fromIndex);
        RemoveRows(*from, TreeRowOf(*from, &object), 1, [&] { from->RemoveChild(&object); });
        if (group == from && index > fromIndex)
            --index;
        const bool wasFrame = from->LayoutCode() == LAYOUT_FRAME;
        if (wasFrame != (group->LayoutCode() == LAYOUT_FRAME)) {
            // The items that depend on the parent's layout (PosX, PosY) follow the new parent.
            placed->SetParentGroup(group);
            if (placed->IsGroup())
                RebuildGroupItems(static_cast<CObjectDataList&>(*placed),
                                  static_cast<CObjectDataList&>(*placed).LayoutCode());
            else
                RebuildObjectItems(*placed, placed->ObjectTypeCode());
        }
    }
    placed->SetParentGroup(group);
    SetFramePoint(*placed, point);
    group->ClearMarks();
    group->SetExpanded(true);
    PlaceChildAt(*group, index, placed);
    emit itemsReset(placed.get());
    FinishDialogEdit(dialog);
    ChooseAfterEdit(placed.get());
    return EditResult::Done(placed.get());
}

EditResult ProjectDocument::MoveDialog(CTekDialogData& dialog, CTekDialogData& on, DropPlace place, bool copy)
{
    CTekDialogDataList& dialogs = m_resource.Dialogs();
    const int from = dialogs.IndexOf(&dialog);
    int to = dialogs.IndexOf(&on) + (place == DropPlace::After ? 1 : 0);
    std::vector<DialogPtr> before = DialogList();
    if (copy) {
        // As a paste of its record would: a new dialog with a name of its own, then put in place.
        const std::string record = RecordOf(dialog);
        JsonParser parser;
        parser.Parse(record);
        const int count = dialogs.Count();
        ResetChildren(m_resource, [&] {
            ReadCommandRecord(m_resource, parser);
            if (dialogs.Count() == count + 1) {
                std::vector<DialogPtr> list = DialogList();
                DialogPtr added = list.back();
                list.pop_back();
                list.insert(list.begin() + std::clamp(to, 0, count), added);
                SetDialogList(list);
            }
        });
        if (dialogs.Count() != count + 1)
            return {};
        CTekDialogData* added = &dialogs.At(std::clamp(to, 0, count));
        FinishListEdit(std::move(before), added);
        ChooseAfterEdit(added);
        return EditResult::Done(added);
    }
    if (to == from || to == from + 1)
        return {};
    const int final = to > from ? to - 1 : to;
    MoveRow(m_resource, from, final, [&] {
        std::vector<DialogPtr> list = DialogList();
        DialogPtr moved = list[static_cast<size_t>(from)];
        list.erase(list.begin() + from);
        list.insert(list.begin() + final, moved);
        SetDialogList(list);
    });
    FinishListEdit(std::move(before), &dialog);
    ChooseAfterEdit(&dialog);
    return EditResult::Done(&dialog);
}

EditResult ProjectDocument::MoveOwnedNode(TekClass& node, TekClass& on, DropPlace place, bool copy)
{
    TekClass* owner = ParentOf(node);
    TekList* list = ListHolding(owner, node);
    CTekDialogData* dialog = DialogOf(node);
    if (!list || !dialog)
        return EditResult::Refused(Tr(kNoHeaderOwner), true);
    const int from = IndexIn(*list, &node);
    int to = IndexIn(*list, &on) + (place == DropPlace::After ? 1 : 0);
    if (from < 0 || to < 0)
        return {};
    if (!copy && (to == from || to == from + 1))
        return {};
    BeginDialogEdit(*dialog);
    m_selected = m_highlighted = nullptr;
    TekClass* select = nullptr;
    if (copy) {
        auto duplicate = std::make_shared<TekClass>(node.Type());
        duplicate->CopyFrom(node);
        select = duplicate.get();
        ResetChildren(*owner, [&] { list->insert(list->begin() + to, duplicate); });
        if (node.Type() == NodeType::HeaderColumn) {
            auto& object = static_cast<CObjectData&>(*owner);
            object.SetItem("Columns", std::to_string(object.HeaderColumns().size()));
            emit itemChanged(&object, RowOfItem(object, "Columns"));
        }
    } else {
        const int final = to > from ? to - 1 : to;
        const int row = TreeRowOf(*owner, &node);
        select = &node;
        MoveRow(*owner, row, row + (final - from), [&] {
            TekPtr moved = (*list)[static_cast<size_t>(from)];
            list->erase(list->begin() + from);
            list->insert(list->begin() + final, moved);
        });
    }
    FinishDialogEdit(*dialog);
    ChooseAfterEdit(select);
    return EditResult::Done(select);
}

// --- Several objects --------------------------------------------------------------------------------------

namespace {

void CollectMarked(CObjectData& node, std::vector<CObjectData*>& marked)
{
    if (node.GetMark()) {
        marked.push_back(&node);
        return;
    }
    if (node.IsGroup())
        for (const ObjectPtr& child : static_cast<CObjectDataList&>(node).Children())
            CollectMarked(*child, marked);
}

} // namespace

std::vector<CObjectData*> ProjectDocument::MarkedObjects(const CTekDialogData* dialog) const
{
    std::vector<CObjectData*> marked;
    if (dialog)
        if (CObjectData* root = const_cast<CTekDialogData*>(dialog)->RootObject())
            CollectMarked(*root, marked);
    return marked;
}

std::vector<TekClass*> ProjectDocument::Operands() const
{
    if (!m_selected)
        return {};
    if (IsObjectOrGroup(m_selected)) {
        const std::vector<CObjectData*> marked = MarkedObjects(DialogOf(*m_selected));
        if (marked.size() > 1 && std::find(marked.begin(), marked.end(), m_selected) != marked.end())
            return {marked.begin(), marked.end()};
    }
    return {m_selected};
}

EditResult ProjectDocument::SelectRange(TekClass* node)
{
    if (m_changing > 0)
        return {};
    if (!IsObjectOrGroup(node) || !IsObjectOrGroup(m_selected) || node == m_selected)
        return Select(node);
    auto& object = static_cast<CObjectData&>(*node);
    auto& anchor = static_cast<CObjectData&>(*m_selected);
    CObjectDataList* parent = object.ParentGroup();
    CTekDialogData* dialog = DialogOf(object);
    if (!parent || parent != anchor.ParentGroup() || !dialog)
        return Select(node);
    if (CObjectData* root = dialog->RootObject())
        root->SetMark(0);
    const int a = parent->IndexOfChild(&anchor);
    const int b = parent->IndexOfChild(&object);
    for (int i = std::min(a, b); i <= std::max(a, b); ++i)
        parent->ChildAt(i).SetMark(1);
    ChangeCurrentDialog(dialog);
    SetSelection(node, node);
    emit marksChanged(dialog);
    return EditResult::Done(node);
}

EditResult ProjectDocument::MarkObjects(CTekDialogData* dialog, const std::vector<CObjectData*>& objects)
{
    if (m_changing > 0 || !dialog || m_resource.Dialogs().IndexOf(dialog) < 0)
        return {};
    CObjectData* root = dialog->RootObject();
    if (root)
        root->SetMark(0);
    TekClass* first = nullptr;
    for (CObjectData* object : objects) {
        if (!root || !object || DialogOf(*object) != dialog)
            continue;
        object->SetMark(1);
        if (!first)
            first = object;
    }
    ChangeCurrentDialog(dialog);
    SetSelection(first ? first : dialog, first ? first : dialog);
    emit marksChanged(dialog);
    return EditResult::Done(first ? first : dialog);
}

EditResult ProjectDocument::SetItemValues(const std::vector<TekClass*>& nodes, const std::string& itemName,
                                          std::string value)
{
    if (!m_editingEnabled || nodes.empty())
        return {};
    if (nodes.size() == 1)
        return SetItemValue(*nodes.front(), RowOfItem(*nodes.front(), itemName), std::move(value));
    CTekDialogData* dialog = nullptr;
    for (TekClass* node : nodes) {
        if (!IsObjectOrGroup(node) || !IsInTree(m_resource, *node))
            return {};
        const int row = RowOfItem(*node, itemName);
        if (row < 0)
            return {};
        if (auto refusal = CheckItemValue(*node, row, value))
            return EditResult{false, nullptr, std::move(refusal), {}};
        CTekDialogData* of = DialogOf(*node);
        if (dialog && of != dialog)
            return {};
        dialog = of;
    }
    BeginDialogEdit(*dialog);
    EditResult result = EditResult::Done(m_selected);
    for (TekClass* node : nodes)
        ApplyItemValue(*node, RowOfItem(*node, itemName), value, result);
    FinishDialogEdit(*dialog);
    return result;
}

std::string ProjectDocument::RecordOfNodes(const std::vector<TekClass*>& nodes) const
{
    if (nodes.size() == 1)
        return RecordOf(*nodes.front());
    CJsonString text;
    text.Write(std::string("{'") + kSeveralNodesKey + "':[\n");
    bool first = true;
    for (const TekClass* node : nodes) {
        if (!IsObjectOrGroup(node))
            continue;
        if (!first)
            text.Write(",\n");
        first = false;
        static_cast<const CObjectData*>(node)->WriteRecord(text, 1);
    }
    text.Write("\n]}");
    return text.Text();
}

EditResult ProjectDocument::RemoveNodes(const std::vector<TekClass*>& nodes, std::string* record)
{
    if (nodes.size() <= 1)
        return Remove(nodes.empty() ? nullptr : nodes.front(), record);
    if (!m_editingEnabled)
        return EditResult::Refused(Tr(kNoResource), true);
    std::vector<CObjectData*> objects;
    CTekDialogData* dialog = nullptr;
    for (TekClass* node : nodes) {
        if (!IsObjectOrGroup(node) || !IsInTree(m_resource, *node))
            return {};
        auto* object = static_cast<CObjectData*>(node);
        CTekDialogData* of = DialogOf(*object);
        if ((dialog && of != dialog) || !object->ParentGroup())
            return {};
        dialog = of;
        objects.push_back(object);
    }
    // A node inside another one goes with it.
    std::vector<TekClass*> kept;
    for (CObjectData* object : objects) {
        bool inside = false;
        for (CObjectData* other : objects)
            if (other != object && other->IsGroup() && static_cast<CObjectDataList*>(other)->Contains(object))
                inside = true;
        if (!inside)
            kept.push_back(object);
    }
    if (record)
        *record = RecordOfNodes(kept);
    BeginDialogEdit(*dialog);
    m_selected = m_highlighted = nullptr;
    TekClass* select = static_cast<CObjectData*>(kept.front())->ParentGroup();
    for (TekClass* node : kept) {
        auto& object = static_cast<CObjectData&>(*node);
        const ObjectPtr keep = std::static_pointer_cast<CObjectData>(object.shared_from_this());
        CObjectDataList* parent = object.ParentGroup();
        RemoveRows(*parent, TreeRowOf(*parent, &object), 1, [&] { parent->RemoveChild(&object); });
    }
    if (!IsInTree(m_resource, *select))
        select = dialog;
    FinishDialogEdit(*dialog);
    ChooseAfterEdit(select);
    return EditResult::Done(select);
}

// --- History ------------------------------------------------------------------------------------------

TekClass* ProjectDocument::RestoreDialog(CTekDialogData& dialog, bool redo)
{
    UndoBuffer& history = dialog.UndoHistory();
    std::vector<TekClass*> touched;
    m_selected = m_highlighted = nullptr;
    if (!NodesARestoreTouches(history, redo, touched)) {
        TekClass* answer = nullptr;
        ResetChildren(dialog, [&] { answer = redo ? history.Redo() : history.Undo(); });
        emit itemsReset(&dialog);
        return answer;
    }
    // Only values change: the rows stay, the touched nodes read anew.
    TekClass* answer = redo ? history.Redo() : history.Undo();
    for (TekClass* node : touched)
        emit itemsReset(node);
    return answer;
}

EditResult ProjectDocument::Undo()
{
    if (!CanUndo())
        return {};
    --m_historyPosition;
    return ApplyStep(m_history[m_historyPosition], false);
}

EditResult ProjectDocument::Redo()
{
    if (!CanRedo())
        return {};
    ++m_historyPosition;
    return ApplyStep(m_history[m_historyPosition - 1], true);
}

EditResult ProjectDocument::ApplyStep(Step& step, bool redo)
{
    TekClass* select = nullptr;
    if (step.itemsOwner) {
        select = RestoreItems(step, redo);
    } else if (step.listStep) {
        const std::vector<DialogPtr>& wanted = redo ? step.after : step.before;
        const std::vector<DialogPtr> now = DialogList();
        ResetChildren(m_resource, [&] { SetDialogList(wanted); });
        for (const DialogPtr& dialog : wanted)
            if (std::find(now.begin(), now.end(), dialog) == now.end())
                select = dialog.get();
        if (step.dialog && m_resource.Dialogs().IndexOf(step.dialog.get()) >= 0)
            select = step.dialog.get();
        if (m_currentDialog && m_resource.Dialogs().IndexOf(m_currentDialog) < 0)
            ChangeCurrentDialog(nullptr);
        if (!select && !wanted.empty())
            select = m_currentDialog ? static_cast<TekClass*>(m_currentDialog) : wanted.front().get();
        SetModified(true);
        emit dialogChanged(nullptr);
    } else {
        CTekDialogData& dialog = *step.dialog;
        if (CObjectData* root = dialog.RootObject())
            root->SetMark(0);
        TekClass* answer = RestoreDialog(dialog, redo);
        select = answer && IsInTree(m_resource, *answer) ? answer : &dialog;
        SetModified(true);
        emit dialogRestored(&dialog);
        emit dialogChanged(&dialog);
    }
    emit historyChanged();
    ChooseAfterEdit(select);
    return EditResult::Done(select);
}

} // namespace vesk
