#include "editor/dragdrop.h"

#include <QCoreApplication>
#include <QMimeData>

#include "objects/objectdata.h"
#include "objects/treeshape.h"

namespace vesk {

namespace {

QString MimeType(const char* type)
{
    return QString::fromLatin1(type);
}

QByteArray Bytes(const std::string& text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

/// The node whose address the text holds, when it is a node of the resource's tree.
TekClass* NodeOfAddress(const QByteArray& text, const CTekResourceData& resource)
{
    bool ok = false;
    const auto address = static_cast<quintptr>(text.toULongLong(&ok, 16));
    if (!ok || address == 0)
        return nullptr;
    // The address is only compared with the nodes of the tree, never followed blindly.
    TekClass* found = nullptr;
    std::function<void(TekClass&)> walk = [&](TekClass& node) {
        if (found)
            return;
        if (reinterpret_cast<quintptr>(&node) == address) {
            found = &node;
            return;
        }
        for (int row = 0; row < TreeChildCount(node); ++row)
            if (TekClass* child = TreeChildAt(node, row))
                walk(*child);
    };
    walk(const_cast<CTekResourceData&>(resource));
    return found;
}

} // namespace

QMimeData* MimeDataOfEntry(SidePanelListKind kind, const std::string& name)
{
    switch (kind) {
    case SidePanelListKind::InsertedObjects: {
        auto* data = new QMimeData;
        data->setData(MimeType(kNewTypeMimeType), Bytes(name));
        return data;
    }
    case SidePanelListKind::BuiltinImages:
    case SidePanelListKind::StationImages: {
        auto* data = new QMimeData;
        data->setData(MimeType(kPictureMimeType), QByteArray::number(static_cast<int>(kind)) + '\n' + Bytes(name));
        return data;
    }
    case SidePanelListKind::Clipboard:
        break;
    }
    return nullptr;
}

QMimeData* MimeDataOfNode(const TekClass& node)
{
    auto* data = new QMimeData;
    data->setData(MimeType(kNodeMimeType), QByteArray::number(reinterpret_cast<quintptr>(&node), 16));
    return data;
}

DragPayload ReadDragPayload(const QMimeData* data, const CTekResourceData& resource)
{
    DragPayload payload;
    if (!data)
        return payload;
    if (data->hasFormat(MimeType(kNewTypeMimeType))) {
        const QByteArray name = data->data(MimeType(kNewTypeMimeType));
        payload.kind = DragPayload::Kind::NewType;
        payload.name.assign(name.constData(), static_cast<size_t>(name.size()));
    } else if (data->hasFormat(MimeType(kPictureMimeType))) {
        const QByteArray text = data->data(MimeType(kPictureMimeType));
        const qsizetype newline = text.indexOf('\n');
        if (newline < 0)
            return payload;
        const int list = text.left(newline).toInt();
        if (list != static_cast<int>(SidePanelListKind::BuiltinImages) &&
            list != static_cast<int>(SidePanelListKind::StationImages))
            return payload;
        payload.kind = DragPayload::Kind::Picture;
        payload.list = static_cast<SidePanelListKind>(list);
        const QByteArray name = text.mid(newline + 1);
        payload.name.assign(name.constData(), static_cast<size_t>(name.size()));
    } else if (data->hasFormat(MimeType(kNodeMimeType))) {
        payload.node = NodeOfAddress(data->data(MimeType(kNodeMimeType)), resource);
        if (payload.node)
            payload.kind = DragPayload::Kind::Node;
    }
    return payload;
}

int DropHandler::ImageRow(const TekClass& node) const
{
    if (currentImageRow) {
        const int row = currentImageRow(node);
        if (row >= 0 && row < node.Items().Count() && node.Items().At(row).Def().role == ItemRole::Image)
            return row;
    }
    for (int row = 0; row < node.Items().Count(); ++row)
        if (node.Items().At(row).Def().role == ItemRole::Image)
            return row;
    return -1;
}

std::optional<Refusal> DropHandler::Check(const DragPayload& payload, const DropSpot& spot, bool copy) const
{
    switch (payload.kind) {
    case DragPayload::Kind::NewType:
        return m_document.CheckDropNew(spot.on, payload.name);
    case DragPayload::Kind::Picture:
        if (!spot.on || (spot.on->Type() != NodeType::Object && spot.on->Type() != NodeType::Group) ||
            ImageRow(*spot.on) < 0)
            return Refusal{QCoreApplication::translate("vesk::DropHandler", "画像を設定できるオブジェクトの上へドロップして下さい。")
                               .toStdString(),
                           false};
        return std::nullopt;
    case DragPayload::Kind::Node: {
        DropPlace place = spot.place;
        // Dropped on a node that takes nothing inside, it goes after it.
        if (place == DropPlace::Into && spot.on && spot.on->Type() != NodeType::Group)
            place = DropPlace::After;
        return m_document.CheckMoveTo(payload.node, spot.on, place, copy);
    }
    case DragPayload::Kind::None:
        break;
    }
    return Refusal{std::string(), false};
}

EditResult DropHandler::Drop(const DragPayload& payload, const DropSpot& spot, bool copy)
{
    if (auto refusal = Check(payload, spot, copy))
        return EditResult{false, nullptr, std::move(refusal), {}};
    switch (payload.kind) {
    case DragPayload::Kind::NewType:
        return m_document.DropNew(spot.on, payload.name, spot.point);
    case DragPayload::Kind::Picture:
        return m_document.AssignImage(*spot.on, ImageRow(*spot.on),
                                      payload.list == SidePanelListKind::StationImages ? ImageSource::Station
                                                                                       : ImageSource::Builtin,
                                      payload.name);
    case DragPayload::Kind::Node: {
        DropPlace place = spot.place;
        if (place == DropPlace::Into && spot.on->Type() != NodeType::Group)
            place = DropPlace::After;
        return m_document.MoveTo(payload.node, spot.on, place, copy, spot.point);
    }
    case DragPayload::Kind::None:
        break;
    }
    return {};
}

} // namespace vesk
