#include "platform/sim/registry.h"

#include <algorithm>
#include <cstring>

#include "platform/sim/device.h"

namespace sim {

namespace {

// ASCII, the usual case, without the call; CharLowerBuffW lowers A-Z the same way.
WCHAR FoldChar(WCHAR c) {
    if (c < 0x80)
        return c >= u'A' && c <= u'Z' ? static_cast<WCHAR>(c + (u'a' - u'A')) : c;
    CharLowerBuffW(&c, 1);
    return c;
}

// The names of a subkey path, one at a time, as views into it. "\" separates them and empty
// ones are skipped, so a leading backslash (which Windows CE accepts, as in
// "\SOFTWARE\Widcomm") and a trailing one name the same key as without.
class PathNames {
  public:
    explicit PathNames(const WCHAR* path) : next_(path) {}

    bool Next(NameView* name) {
        if (next_ == nullptr)
            return false;
        while (*next_ == u'\\')
            ++next_;
        if (*next_ == 0)
            return false;
        const WCHAR* start = next_;
        while (*next_ != 0 && *next_ != u'\\')
            ++next_;
        *name = NameView(start, static_cast<std::size_t>(next_ - start));
        return true;
    }

  private:
    const WCHAR* next_;
};

// A key name folded into room for the longest one allowed, so that a look-up by it allocates
// nothing. Longer names are refused before one is folded (the bound only keeps the buffer safe).
class FoldedKeyName {
  public:
    explicit FoldedKeyName(NameView name) : size_(std::min(name.size(), kMaxKeyNameLength)) {
        for (std::size_t i = 0; i < size_; ++i)
            units_[i] = FoldChar(name[i]);
    }
    NameView View() const { return NameView(units_, size_); }

  private:
    WCHAR units_[kMaxKeyNameLength];
    std::size_t size_;
};

// True when `name` folded is `folded`, compared in place: the same path opened again costs
// no copy.
bool FoldsTo(NameView name, const WString& folded) {
    if (name.size() != folded.size())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (FoldChar(name[i]) != folded[i])
            return false;
    return true;
}

// True when `text` is `path`, unit for unit, and ends there. `path` holds no NUL, so the
// comparison stops at the end of either: a unit of `text` is read only once the one before it
// matched. Four at a time, since the same path comes again on every check.
bool SpelledAs(const WCHAR* text, const WString& path) {
    const WCHAR* units = path.data();
    const std::size_t size = path.size();
    std::size_t i = 0;
    for (; i + 4 <= size; i += 4)
        if (text[i] != units[i] || text[i + 1] != units[i + 1] || text[i + 2] != units[i + 2] ||
            text[i + 3] != units[i + 3])
            return false;
    for (; i < size; ++i)
        if (text[i] != units[i])
            return false;
    return text[size] == 0;
}

// ERROR_INVALID_PARAMETER when any name of the path is longer than a key name may be, checked
// before any key is looked at; `count` gets the number of names.
LONG CheckPath(const WCHAR* subKey, int* count) {
    *count = 0;
    PathNames names(subKey);
    for (NameView name; names.Next(&name); ++*count)
        if (name.size() > kMaxKeyNameLength)
            return ERROR_INVALID_PARAMETER;
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
        node.parent->lastFound = nullptr;
        node.parent->children.erase(node.folded);
        node.parent = nullptr;
    }
    MarkDeleted(node);
}

// Below this many values a key is searched name by name; from it on, through its index.
constexpr std::size_t kIndexedFrom = 32;

// True when `name`, NUL-terminated as a caller passes it, names `value`: unit by unit against
// the name as written, and folded only where a unit differs from it, so the usual spelling
// costs no folding at all.
bool Names(const RegValue& value, const WCHAR* name) {
    const WCHAR* written = value.name.data();
    const WCHAR* folded = value.folded.data();
    const std::size_t size = value.name.size();
    for (std::size_t i = 0; i < size; ++i) {
        const WCHAR unit = name[i];
        // A NUL ends `name`, even where a name read from a file holds one.
        if (unit != written[i] ? FoldChar(unit) != folded[i] : unit == 0)
            return false;
    }
    return name[size] == 0;
}

RegValue* FindIn(RegKeyNode& node, NameView name) {
    const FoldedNameEqual same;
    if (node.values.size() < kIndexedFrom) {
        for (RegValue& value : node.values)
            if (same(value.folded, UnfoldedName{name}))
                return &value;
        return nullptr;
    }
    if (node.valueIndex.size() != node.values.size()) {
        node.valueIndex.clear();
        for (std::size_t i = 0; i < node.values.size(); ++i)
            node.valueIndex.emplace(node.values[i].folded, i);
    }
    auto it = node.valueIndex.find(UnfoldedName{name});
    return it == node.valueIndex.end() ? nullptr : &node.values[it->second];
}

// As above, for a name as a caller passes it (null: the default value).
RegValue* FindIn(RegKeyNode& node, const WCHAR* name) {
    if (name == nullptr || node.values.size() >= kIndexedFrom)
        return FindIn(node, name == nullptr ? NameView() : NameView(name));
    for (RegValue& value : node.values)
        if (Names(value, name))
            return &value;
    return nullptr;
}

void SetIn(RegKeyNode& node, NameView name, DWORD type, std::vector<BYTE> data) {
    if (RegValue* existing = FindIn(node, name)) {
        existing->type = type;
        existing->data = std::move(data);
        return;
    }
    WString written(name);
    WString folded = Registry::Fold(written);
    node.values.push_back(RegValue{std::move(written), type, std::move(data), std::move(folded)});
    if (!node.valueIndex.empty())
        node.valueIndex.emplace(node.values.back().folded, node.values.size() - 1);
}

bool RemoveIn(RegKeyNode& node, NameView name) {
    const FoldedNameEqual same;
    for (auto it = node.values.begin(); it != node.values.end(); ++it) {
        if (same(it->folded, UnfoldedName{name})) {
            node.values.erase(it);
            node.valueIndex.clear();
            return true;
        }
    }
    return false;
}

// A null name is the key's default value, as the empty one.
NameView ValueName(const WCHAR* name) {
    return name == nullptr ? NameView() : NameView(name);
}

std::shared_ptr<RegKeyNode> MakeRoot(const WString& name) {
    auto node = std::make_shared<RegKeyNode>();
    node->name = name;
    node->folded = Registry::Fold(name);
    return node;
}

const WCHAR* const kRootNames[Registry::kRootCount] = {
    TEXT("HKEY_CLASSES_ROOT"), TEXT("HKEY_CURRENT_USER"), TEXT("HKEY_LOCAL_MACHINE"),
    TEXT("HKEY_USERS")};
const WCHAR* const kRootShortNames[Registry::kRootCount] = {TEXT("HKCR"), TEXT("HKCU"),
                                                            TEXT("HKLM"), TEXT("HKU")};

int RootIndex(HKEY root) {
    const ULONG_PTR value = reinterpret_cast<ULONG_PTR>(root);
    if (value < Registry::kFirstRoot || value >= Registry::kFirstRoot + Registry::kRootCount)
        return -1;
    return static_cast<int>(value - Registry::kFirstRoot);
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

namespace {

// FNV-1a over the folded units, the same for a folded name and for its unfolded spelling.
class FoldedHasher {
  public:
    void Add(WCHAR unit) { hash_ = (hash_ ^ static_cast<std::size_t>(unit)) * 1099511628211u; }
    std::size_t Value() const { return hash_; }

  private:
    std::size_t hash_ = 14695981039346656037u;
};

} // namespace

std::size_t FoldedNameHash::operator()(const WString& folded) const {
    FoldedHasher hash;
    for (WCHAR unit : folded)
        hash.Add(unit);
    return hash.Value();
}

std::size_t FoldedNameHash::operator()(UnfoldedName name) const {
    FoldedHasher hash;
    for (WCHAR unit : name.text)
        hash.Add(FoldChar(unit));
    return hash.Value();
}

bool FoldedNameEqual::operator()(const WString& folded, UnfoldedName name) const {
    if (folded.size() != name.text.size())
        return false;
    for (std::size_t i = 0; i < folded.size(); ++i)
        if (folded[i] != FoldChar(name.text[i]))
            return false;
    return true;
}

Registry::NodeSlot Registry::RootNode(HKEY root) const {
    const int index = RootIndex(root);
    return index < 0 ? nullptr : &roots_[index];
}

const RegKeyNode* Registry::Root(HKEY root) const {
    NodeSlot slot = RootNode(root);
    return slot == nullptr ? nullptr : slot->get();
}

WString Registry::RootName(HKEY root) {
    const int index = RootIndex(root);
    return index < 0 ? WString() : WString(kRootNames[index]);
}

bool Registry::SplitRootPath(const WString& path, HKEY* root, WString* subPath) {
    const std::size_t slash = path.find(u'\\');
    const WString head = path.substr(0, slash);
    for (int i = 0; i < Registry::kRootCount; ++i) {
        if (SameName(head, kRootNames[i]) || SameName(head, kRootShortNames[i])) {
            *root = reinterpret_cast<HKEY>(Registry::kFirstRoot + static_cast<ULONG_PTR>(i));
            *subPath = slash == WString::npos ? WString() : path.substr(slash + 1);
            return true;
        }
    }
    return false;
}

void Registry::Clear() {
    ++removals_;
    for (int i = 0; i < Registry::kRootCount; ++i) {
        if (roots_[i])
            MarkDeleted(*roots_[i]);
        roots_[i] = MakeRoot(kRootNames[i]);
    }
}

// Inline: every call with a handle starts here.
inline LONG Registry::Resolve(HKEY key, int process, NodeSlot* node) const {
    if (NodeSlot root = RootNode(key)) {
        *node = root;
        return ERROR_SUCCESS;
    }
    const KeyHandles::Entry* entry = handles_.Find(reinterpret_cast<ULONG_PTR>(key));
    if (entry == nullptr || entry->process != process)
        return ERROR_INVALID_HANDLE;
    if (entry->node->deleted)
        return ERROR_KEY_DELETED;
    *node = &entry->node;
    return ERROR_SUCCESS;
}

inline LONG Registry::Locate(HKEY key, const WCHAR* subKey, int process, NodeSlot* node) const {
    NodeSlot at = nullptr;
    const LONG status = Resolve(key, process, &at);
    if (status != ERROR_SUCCESS)
        return status;
    const RegKeyNode& start = **at;
    if (subKey != nullptr && start.lastTarget != nullptr && start.lastRemovals == removals_ &&
        SpelledAs(subKey, start.lastPath)) {
        *node = start.lastTarget;
        return ERROR_SUCCESS;
    }
    return Walk(at, subKey, node);
}

LONG Registry::Walk(NodeSlot at, const WCHAR* subKey, NodeSlot* node) const {
    RegKeyNode& start = **at;
    bool missing = false;
    bool walked = false;
    PathNames names(subKey);
    for (NameView name; names.Next(&name);) {
        // Past a missing key the names are still checked: one too long is the answer first.
        if (name.size() > kMaxKeyNameLength)
            return ERROR_INVALID_PARAMETER;
        if (missing)
            continue;
        walked = true;
        RegKeyNode& parent = **at;
        if (parent.lastFound == nullptr || !FoldsTo(name, parent.lastFound->first)) {
            const FoldedKeyName folded(name);
            auto it = parent.children.find(folded.View());
            parent.lastFound = it == parent.children.end() ? nullptr : &*it;
        }
        if (parent.lastFound == nullptr)
            missing = true;
        else
            at = &parent.lastFound->second;
    }
    if (missing)
        return ERROR_FILE_NOT_FOUND;
    // Only a path that named a key below is remembered: the start's own slot may be a
    // handle's, which goes when the handle is closed.
    if (walked) {
        start.lastPath.assign(subKey);
        start.lastTarget = at;
        start.lastRemovals = removals_;
    }
    *node = at;
    return ERROR_SUCCESS;
}

RegKeyNode* Registry::AtPath(HKEY root, const WString& subPath) const {
    NodeSlot node = nullptr;
    if (!IsPredefined(root) || Locate(root, subPath.c_str(), 0, &node) != ERROR_SUCCESS)
        return nullptr;
    return node->get();
}

HKEY Registry::NewHandle(const std::shared_ptr<RegKeyNode>& node, int process) {
    const ULONG_PTR value = nextHandle_;
    nextHandle_ += 4;
    handles_.Add(value, node, process);
    return reinterpret_cast<HKEY>(value);
}

LONG Registry::OpenKey(HKEY parent, const WCHAR* subKey, int process, HKEY* result) {
    NodeSlot node = nullptr;
    const LONG status = Locate(parent, subKey, process, &node);
    if (status != ERROR_SUCCESS)
        return status;
    *result = NewHandle(*node, process);
    return ERROR_SUCCESS;
}

LONG Registry::CreateKey(HKEY parent, const WCHAR* subKey, bool isVolatile, int process,
                         HKEY* result, DWORD* disposition) {
    NodeSlot node = nullptr;
    int count = 0;
    LONG status = Resolve(parent, process, &node);
    if (status == ERROR_SUCCESS)
        status = CheckPath(subKey, &count);
    if (status != ERROR_SUCCESS)
        return status;
    // Windows' kernel refuses a key below the 512th level as a lack of resources.
    if ((*node)->depth + count > kMaxKeyDepth)
        return ERROR_NO_SYSTEM_RESOURCES;
    bool created = false;
    PathNames names(subKey);
    for (NameView name; names.Next(&name);) {
        RegKeyNode& parentNode = **node;
        const FoldedKeyName folded(name);
        auto it = parentNode.children.lower_bound(folded.View());
        if (it == parentNode.children.end() || it->first != folded.View()) {
            auto child = std::make_shared<RegKeyNode>();
            child->name = WString(name);
            child->folded = WString(folded.View());
            child->isVolatile = isVolatile;
            child->depth = parentNode.depth + 1;
            child->parent = &parentNode;
            it = parentNode.children.emplace_hint(it, child->folded, std::move(child));
            created = true;
        }
        node = &it->second;
    }
    *result = NewHandle(*node, process);
    if (disposition != nullptr)
        *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
}

LONG Registry::CloseKey(HKEY key, int process) {
    if (IsPredefined(key))
        return ERROR_SUCCESS;
    KeyHandles::Entry* entry = handles_.Find(reinterpret_cast<ULONG_PTR>(key));
    if (entry == nullptr || entry->process != process)
        return ERROR_INVALID_HANDLE;
    handles_.Erase(entry);
    return ERROR_SUCCESS;
}

LONG Registry::QueryValue(HKEY key, const WCHAR* name, int process, DWORD* type, BYTE* data,
                          DWORD* size) const {
    if (data != nullptr && size == nullptr)
        return ERROR_INVALID_PARAMETER;
    NodeSlot node = nullptr;
    const LONG status = Resolve(key, process, &node);
    if (status != ERROR_SUCCESS)
        return status;
    const RegValue* value = FindIn(**node, name);
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
        // A DWORD, the usual value, is copied without a call.
        if (needed == sizeof(DWORD))
            std::memcpy(data, value->data.data(), sizeof(DWORD));
        else if (needed > 0)
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
    NodeSlot node = nullptr;
    const LONG status = Resolve(key, process, &node);
    if (status != ERROR_SUCCESS)
        return status;
    std::vector<BYTE> bytes;
    if (size > 0)
        bytes.assign(data, data + size);
    SetIn(**node, ValueName(name), type, std::move(bytes));
    return ERROR_SUCCESS;
}

LONG Registry::DeleteValue(HKEY key, const WCHAR* name, int process) {
    NodeSlot node = nullptr;
    const LONG status = Resolve(key, process, &node);
    if (status != ERROR_SUCCESS)
        return status;
    return RemoveIn(**node, ValueName(name)) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

LONG Registry::DeleteKey(HKEY key, const WCHAR* subKey, int process) {
    if (subKey == nullptr)
        return ERROR_INVALID_PARAMETER;
    NodeSlot node = nullptr;
    const LONG status = Locate(key, subKey, process, &node);
    if (status != ERROR_SUCCESS)
        return status;
    if ((*node)->parent == nullptr) // a predefined root
        return ERROR_ACCESS_DENIED;
    // Held here while the parent lets go of it, so that it can still be marked deleted.
    const std::shared_ptr<RegKeyNode> doomed = *node;
    Detach(*doomed);
    ++removals_;
    return ERROR_SUCCESS;
}

int Registry::OpenKeys(int process) const {
    return static_cast<int>(handles_.HeldBy(process).size());
}

void Registry::CloseAllKeysOf(Device& device, int process) {
    for (ULONG_PTR value : handles_.HeldBy(process)) {
        handles_.Erase(handles_.Find(value));
        device.HandleClosed(HandleKind::RegistryKey, process);
    }
}

bool Registry::KeyExists(HKEY root, const WString& subPath) const {
    return AtPath(root, subPath) != nullptr;
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
    SetIn(*AtPath(root, subPath), name, type, std::move(data));
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
    RegKeyNode* node = AtPath(root, subPath);
    return node != nullptr ? FindIn(*node, name) : nullptr;
}

bool Registry::Remove(HKEY root, const WString& subPath, const WString& name) {
    RegKeyNode* node = AtPath(root, subPath);
    return node != nullptr && RemoveIn(*node, name);
}

bool Registry::RemoveKey(HKEY root, const WString& subPath) {
    if (!IsPredefined(root))
        return false;
    return DeleteKey(root, subPath.c_str(), 0) == ERROR_SUCCESS;
}

} // namespace sim
