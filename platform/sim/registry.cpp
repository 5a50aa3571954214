#include "platform/sim/registry.h"

#include <cstring>

#include "platform/sim/device.h"

namespace sim {

namespace {

constexpr ULONG_PTR kFirstPredefined = 0x80000000u;
constexpr int kRootCount = 4;

WCHAR FoldChar(WCHAR c) {
    CharLowerBuffW(&c, 1);
    return c;
}

// Splits a subkey path at "\". Empty parts are skipped, so a leading backslash (which Windows
// CE accepts, as in "\SOFTWARE\Widcomm") and a trailing one name the same key as without.
LONG SplitPath(const WCHAR* subKey, std::vector<WString>* parts) {
    parts->clear();
    if (subKey == nullptr)
        return ERROR_SUCCESS;
    WString part;
    for (const WCHAR* p = subKey;; ++p) {
        if (*p == 0 || *p == u'\\') {
            if (part.size() > kMaxKeyNameLength)
                return ERROR_INVALID_PARAMETER;
            if (!part.empty())
                parts->push_back(part);
            part.clear();
            if (*p == 0)
                break;
        } else {
            part.push_back(*p);
        }
    }
    return ERROR_SUCCESS;
}

// Marks a key and everything below it deleted; open handles keep the nodes alive.
void MarkDeleted(RegKeyNode& top) {
    std::vector<RegKeyNode*> pending{&top};
    while (!pending.empty()) {
        RegKeyNode* node = pending.back();
        pending.pop_back();
        node->deleted = true;
        for (auto& [name, child] : node->children)
            pending.push_back(child.get());
    }
}

void Detach(RegKeyNode& node) {
    if (node.parent != nullptr) {
        node.parent->children.erase(Registry::Fold(node.name));
        node.parent = nullptr;
    }
    MarkDeleted(node);
}

// Below this many values a key is searched name by name; from it on, through its index.
constexpr std::size_t kIndexedFrom = 32;

RegValue* FindIn(RegKeyNode& node, const WString& name) {
    if (node.values.size() < kIndexedFrom) {
        for (RegValue& value : node.values)
            if (Registry::SameName(value.name, name))
                return &value;
        return nullptr;
    }
    if (node.valueIndex.size() != node.values.size()) {
        node.valueIndex.clear();
        for (std::size_t i = 0; i < node.values.size(); ++i)
            node.valueIndex.emplace(Registry::Fold(node.values[i].name), i);
    }
    auto it = node.valueIndex.find(Registry::Fold(name));
    return it == node.valueIndex.end() ? nullptr : &node.values[it->second];
}

void SetIn(RegKeyNode& node, const WString& name, DWORD type, std::vector<BYTE> data) {
    if (RegValue* existing = FindIn(node, name)) {
        existing->type = type;
        existing->data = std::move(data);
        return;
    }
    node.values.push_back(RegValue{name, type, std::move(data)});
    if (!node.valueIndex.empty())
        node.valueIndex.emplace(Registry::Fold(name), node.values.size() - 1);
}

bool RemoveIn(RegKeyNode& node, const WString& name) {
    for (auto it = node.values.begin(); it != node.values.end(); ++it) {
        if (Registry::SameName(it->name, name)) {
            node.values.erase(it);
            node.valueIndex.clear();
            return true;
        }
    }
    return false;
}

std::shared_ptr<RegKeyNode> MakeRoot(const WString& name) {
    auto node = std::make_shared<RegKeyNode>();
    node->name = name;
    return node;
}

const WCHAR* const kRootNames[kRootCount] = {TEXT("HKEY_CLASSES_ROOT"), TEXT("HKEY_CURRENT_USER"),
                                             TEXT("HKEY_LOCAL_MACHINE"), TEXT("HKEY_USERS")};
const WCHAR* const kRootShortNames[kRootCount] = {TEXT("HKCR"), TEXT("HKCU"), TEXT("HKLM"),
                                                  TEXT("HKU")};

int RootIndex(HKEY root) {
    const ULONG_PTR value = reinterpret_cast<ULONG_PTR>(root);
    if (value < kFirstPredefined || value >= kFirstPredefined + kRootCount)
        return -1;
    return static_cast<int>(value - kFirstPredefined);
}

} // namespace

RegKeyNode::~RegKeyNode() {
    // Children whose last owner is this key are emptied here, one at a time, before they go;
    // a child an open handle still holds keeps its own subtree for later.
    std::vector<std::shared_ptr<RegKeyNode>> pending;
    for (auto& [name, child] : children)
        pending.push_back(std::move(child));
    children.clear();
    while (!pending.empty()) {
        std::shared_ptr<RegKeyNode> node = std::move(pending.back());
        pending.pop_back();
        if (node.use_count() == 1) {
            for (auto& [name, child] : node->children)
                pending.push_back(std::move(child));
            node->children.clear();
        }
    }
}

Registry::Registry() {
    Clear();
}

Registry::~Registry() = default;

// One unit at a time, as SameName compares: Windows does not fold a letter written as a
// surrogate pair in registry names.
WString Registry::Fold(const WString& name) {
    WString folded = name;
    for (WCHAR& c : folded)
        c = FoldChar(c);
    return folded;
}

bool Registry::SameName(const WString& a, const WString& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && FoldChar(a[i]) != FoldChar(b[i]))
            return false;
    return true;
}

bool Registry::IsPredefined(HKEY key) {
    return RootIndex(key) >= 0;
}

std::shared_ptr<RegKeyNode> Registry::RootNode(HKEY root) const {
    const int index = RootIndex(root);
    return index < 0 ? nullptr : roots_[index];
}

const RegKeyNode* Registry::Root(HKEY root) const {
    return RootNode(root).get();
}

WString Registry::RootName(HKEY root) {
    const int index = RootIndex(root);
    return index < 0 ? WString() : WString(kRootNames[index]);
}

bool Registry::SplitRootPath(const WString& path, HKEY* root, WString* subPath) {
    const std::size_t slash = path.find(u'\\');
    const WString head = path.substr(0, slash);
    for (int i = 0; i < kRootCount; ++i) {
        if (SameName(head, kRootNames[i]) || SameName(head, kRootShortNames[i])) {
            *root = reinterpret_cast<HKEY>(kFirstPredefined + static_cast<ULONG_PTR>(i));
            *subPath = slash == WString::npos ? WString() : path.substr(slash + 1);
            return true;
        }
    }
    return false;
}

void Registry::Clear() {
    for (int i = 0; i < kRootCount; ++i) {
        if (roots_[i])
            MarkDeleted(*roots_[i]);
        roots_[i] = MakeRoot(kRootNames[i]);
    }
}

LONG Registry::Resolve(HKEY key, int process, std::shared_ptr<RegKeyNode>* node) const {
    if (auto root = RootNode(key)) {
        *node = root;
        return ERROR_SUCCESS;
    }
    auto it = handles_.find(reinterpret_cast<ULONG_PTR>(key));
    if (it == handles_.end() || it->second.process != process)
        return ERROR_INVALID_HANDLE;
    if (it->second.node->deleted)
        return ERROR_KEY_DELETED;
    *node = it->second.node;
    return ERROR_SUCCESS;
}

std::shared_ptr<RegKeyNode> Registry::Walk(std::shared_ptr<RegKeyNode> from,
                                           const std::vector<WString>& parts) const {
    for (const WString& part : parts) {
        auto it = from->children.find(Fold(part));
        if (it == from->children.end())
            return nullptr;
        from = it->second;
    }
    return from;
}

HKEY Registry::NewHandle(std::shared_ptr<RegKeyNode> node, int process) {
    const ULONG_PTR value = nextHandle_;
    nextHandle_ += 4;
    handles_[value] = OpenRecord{std::move(node), process};
    return reinterpret_cast<HKEY>(value);
}

LONG Registry::OpenKey(HKEY parent, const WCHAR* subKey, int process, HKEY* result) {
    std::shared_ptr<RegKeyNode> node;
    std::vector<WString> parts;
    LONG status = Resolve(parent, process, &node);
    if (status == ERROR_SUCCESS)
        status = SplitPath(subKey, &parts);
    if (status != ERROR_SUCCESS)
        return status;
    node = Walk(node, parts);
    if (!node)
        return ERROR_FILE_NOT_FOUND;
    *result = NewHandle(node, process);
    return ERROR_SUCCESS;
}

LONG Registry::CreateKey(HKEY parent, const WCHAR* subKey, bool isVolatile, int process,
                         HKEY* result, DWORD* disposition) {
    std::shared_ptr<RegKeyNode> node;
    std::vector<WString> parts;
    LONG status = Resolve(parent, process, &node);
    if (status == ERROR_SUCCESS)
        status = SplitPath(subKey, &parts);
    if (status != ERROR_SUCCESS)
        return status;
    // Windows' kernel refuses a key below the 512th level as a lack of resources.
    if (node->depth + static_cast<int>(parts.size()) > kMaxKeyDepth)
        return ERROR_NO_SYSTEM_RESOURCES;
    bool created = false;
    for (const WString& part : parts) {
        auto& slot = node->children[Fold(part)];
        if (!slot) {
            slot = std::make_shared<RegKeyNode>();
            slot->name = part;
            slot->isVolatile = isVolatile;
            slot->depth = node->depth + 1;
            slot->parent = node.get();
            created = true;
        }
        node = slot;
    }
    *result = NewHandle(node, process);
    if (disposition != nullptr)
        *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
}

LONG Registry::CloseKey(HKEY key, int process) {
    if (IsPredefined(key))
        return ERROR_SUCCESS;
    auto it = handles_.find(reinterpret_cast<ULONG_PTR>(key));
    if (it == handles_.end() || it->second.process != process)
        return ERROR_INVALID_HANDLE;
    handles_.erase(it);
    return ERROR_SUCCESS;
}

LONG Registry::QueryValue(HKEY key, const WCHAR* name, int process, DWORD* type, BYTE* data,
                          DWORD* size) const {
    if (data != nullptr && size == nullptr)
        return ERROR_INVALID_PARAMETER;
    std::shared_ptr<RegKeyNode> node;
    const LONG status = Resolve(key, process, &node);
    if (status != ERROR_SUCCESS)
        return status;
    const RegValue* value = FindIn(*node, name == nullptr ? WString() : WString(name));
    if (value == nullptr)
        return ERROR_FILE_NOT_FOUND;
    const DWORD needed = static_cast<DWORD>(value->data.size());
    if (type != nullptr)
        *type = value->type;
    if (data != nullptr) {
        if (*size < needed) {
            *size = needed;
            return ERROR_MORE_DATA;
        }
        if (needed > 0)
            std::memcpy(data, value->data.data(), needed);
    }
    if (size != nullptr)
        *size = needed;
    return ERROR_SUCCESS;
}

LONG Registry::SetValue(HKEY key, const WCHAR* name, int process, DWORD type, const BYTE* data,
                        DWORD size) {
    if (data == nullptr && size > 0) // Windows' answer to bytes promised but not given
        return ERROR_NOACCESS;
    if (name != nullptr && std::char_traits<WCHAR>::length(name) > kMaxValueNameLength)
        return ERROR_INVALID_PARAMETER;
    std::shared_ptr<RegKeyNode> node;
    const LONG status = Resolve(key, process, &node);
    if (status != ERROR_SUCCESS)
        return status;
    std::vector<BYTE> bytes;
    if (size > 0)
        bytes.assign(data, data + size);
    SetIn(*node, name == nullptr ? WString() : WString(name), type, std::move(bytes));
    return ERROR_SUCCESS;
}

LONG Registry::DeleteValue(HKEY key, const WCHAR* name, int process) {
    std::shared_ptr<RegKeyNode> node;
    const LONG status = Resolve(key, process, &node);
    if (status != ERROR_SUCCESS)
        return status;
    return RemoveIn(*node, name == nullptr ? WString() : WString(name)) ? ERROR_SUCCESS
                                                                        : ERROR_FILE_NOT_FOUND;
}

LONG Registry::DeleteKey(HKEY key, const WCHAR* subKey, int process) {
    if (subKey == nullptr)
        return ERROR_INVALID_PARAMETER;
    std::shared_ptr<RegKeyNode> node;
    std::vector<WString> parts;
    LONG status = Resolve(key, process, &node);
    if (status == ERROR_SUCCESS)
        status = SplitPath(subKey, &parts);
    if (status != ERROR_SUCCESS)
        return status;
    node = Walk(node, parts);
    if (!node)
        return ERROR_FILE_NOT_FOUND;
    if (node->parent == nullptr) // a predefined root
        return ERROR_ACCESS_DENIED;
    Detach(*node);
    return ERROR_SUCCESS;
}

int Registry::OpenKeys(int process) const {
    int count = 0;
    for (const auto& [value, record] : handles_)
        count += record.process == process ? 1 : 0;
    return count;
}

void Registry::CloseAllKeysOf(Device& device, int process) {
    for (auto it = handles_.begin(); it != handles_.end();) {
        if (it->second.process == process) {
            it = handles_.erase(it);
            device.HandleClosed(HandleKind::RegistryKey, process);
        } else {
            ++it;
        }
    }
}

bool Registry::KeyExists(HKEY root, const WString& subPath) const {
    auto node = RootNode(root);
    std::vector<WString> parts;
    if (!node || SplitPath(subPath.c_str(), &parts) != ERROR_SUCCESS)
        return false;
    return Walk(node, parts) != nullptr;
}

bool Registry::EnsureKey(HKEY root, const WString& subPath) {
    if (!IsPredefined(root))
        return false;
    HKEY handle = nullptr;
    // Through a handle of a process that never exists, closed at once: one creation path.
    if (CreateKey(root, subPath.c_str(), false, 0, &handle, nullptr) != ERROR_SUCCESS)
        return false;
    CloseKey(handle, 0);
    return true;
}

bool Registry::Put(HKEY root, const WString& subPath, const WString& name, DWORD type,
                   std::vector<BYTE> data) {
    if (name.size() > kMaxValueNameLength || !EnsureKey(root, subPath))
        return false;
    std::vector<WString> parts;
    SplitPath(subPath.c_str(), &parts);
    SetIn(*Walk(RootNode(root), parts), name, type, std::move(data));
    return true;
}

bool Registry::PutDword(HKEY root, const WString& subPath, const WString& name, DWORD value) {
    std::vector<BYTE> bytes(4);
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<BYTE>(value >> (8 * i));
    return Put(root, subPath, name, REG_DWORD, std::move(bytes));
}

bool Registry::PutString(HKEY root, const WString& subPath, const WString& name,
                         const WString& text) {
    std::vector<BYTE> bytes;
    bytes.reserve((text.size() + 1) * 2);
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const unsigned unit = i < text.size() ? static_cast<unsigned>(text[i]) : 0u;
        bytes.push_back(static_cast<BYTE>(unit & 0xFF));
        bytes.push_back(static_cast<BYTE>(unit >> 8));
    }
    return Put(root, subPath, name, REG_SZ, std::move(bytes));
}

const RegValue* Registry::Find(HKEY root, const WString& subPath, const WString& name) const {
    auto node = RootNode(root);
    std::vector<WString> parts;
    if (!node || SplitPath(subPath.c_str(), &parts) != ERROR_SUCCESS)
        return nullptr;
    node = Walk(node, parts);
    return node ? FindIn(*node, name) : nullptr;
}

bool Registry::Remove(HKEY root, const WString& subPath, const WString& name) {
    auto node = RootNode(root);
    std::vector<WString> parts;
    if (!node || SplitPath(subPath.c_str(), &parts) != ERROR_SUCCESS)
        return false;
    node = Walk(node, parts);
    return node && RemoveIn(*node, name);
}

bool Registry::RemoveKey(HKEY root, const WString& subPath) {
    if (!IsPredefined(root))
        return false;
    return DeleteKey(root, subPath.c_str(), 0) == ERROR_SUCCESS;
}

} // namespace sim
