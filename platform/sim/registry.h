// The simulated registry: HKCU and HKLM trees (HKCR and HKU too, empty at boot), key and value
// names without regard to letter case, values kept with their type and exact bytes, open key
// handles per process.
//
// Names are compared through CharLowerBuffW, the program's one lower-case mapping, one code
// unit at a time, so that "Software" and "SOFTWARE" (and non-ASCII names that differ only in
// case) name one key, as on Windows; a letter written as a surrogate pair keeps its case. The
// access mask of an open is recorded in the trace but not enforced: Windows CE ignores it.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/registry_handles.h"

namespace sim {

class Device;

using NameView = std::basic_string_view<WCHAR>;

// A name as a caller wrote it, to be compared with folded names: it is folded unit by unit
// during the comparison, so a look-up neither copies nor allocates.
struct UnfoldedName {
    NameView text;
};

// Hashes folded names, and unfolded ones as if folded, for the value index.
struct FoldedNameHash {
    using is_transparent = void;
    std::size_t operator()(const WString& folded) const;
    std::size_t operator()(UnfoldedName name) const;
};

struct FoldedNameEqual {
    using is_transparent = void;
    bool operator()(const WString& a, const WString& b) const { return a == b; }
    bool operator()(const WString& folded, UnfoldedName name) const;
    bool operator()(UnfoldedName name, const WString& folded) const {
        return (*this)(folded, name);
    }
};

// One value: its name as first written (and folded, for look-ups), its type and its bytes
// exactly as set.
struct RegValue {
    WString name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    WString folded;
};

// One key. Children are held by their folded names (and found by a folded view of a path's
// name, without a copy); a deleted key (and everything that was
// below it) is marked so that handles still open on it fail with ERROR_KEY_DELETED.
struct RegKeyNode {
    RegKeyNode() = default;
    // Frees the keys below without recursion, so no depth of tree can exhaust the stack.
    ~RegKeyNode();
    RegKeyNode(const RegKeyNode&) = delete;
    RegKeyNode& operator=(const RegKeyNode&) = delete;

    WString name;
    WString folded; // `name` folded, set once with it: the key it has in its parent
    bool deleted = false;
    bool isVolatile = false;
    int depth = 0; // levels below its predefined root (the root itself: 0)
    RegKeyNode* parent = nullptr;
    std::map<WString, std::shared_ptr<RegKeyNode>, std::less<>> children;
    // The child a path last went through: programs open the same path again and again, and
    // one equality test is cheaper than a descent of the ordered map. Cleared when a child goes.
    const std::pair<const WString, std::shared_ptr<RegKeyNode>>* lastFound = nullptr;
    // The last path opened below this key, exactly as spelled, and the key it named: the
    // program opens the same path on every check, and comparing it whole is cheaper than
    // walking it name by name. Good while the registry has removed no key since (`removals`).
    WString lastPath;
    const std::shared_ptr<RegKeyNode>* lastTarget = nullptr;
    std::uint64_t lastRemovals = 0;
    std::vector<RegValue> values; // in the order they were first set
    // Folded name -> position in `values`, kept once a key holds many values so that setting
    // each of N values costs the same whatever N; emptied by a removal and built again.
    std::unordered_map<WString, std::size_t, FoldedNameHash, FoldedNameEqual> valueIndex;
};

// Windows' limits (the registry element size limits): a key name of 255 characters, a value
// name of 16,383, a tree 512 levels deep. Windows CE documents 16 levels for its own
// registry; the desktop's 512 is kept so that .reg files exported on a PC load unchanged.
constexpr std::size_t kMaxKeyNameLength = 255;
constexpr std::size_t kMaxValueNameLength = 16383;
constexpr int kMaxKeyDepth = 512;

class Registry {
  public:
    Registry();
    ~Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    // The predefined roots' handle values: HKEY_CLASSES_ROOT and the three after it.
    static constexpr ULONG_PTR kFirstRoot = 0x80000000u;
    static constexpr int kRootCount = 4;

    // Handle-level operations behind the Reg*W calls. Results are Win32 error codes; `process`
    // owns the handles. Handle accounting with the device is the caller's.
    LONG OpenKey(HKEY parent, const WCHAR* subKey, int process, HKEY* result);
    LONG CreateKey(HKEY parent, const WCHAR* subKey, bool isVolatile, int process, HKEY* result,
                   DWORD* disposition);
    LONG CloseKey(HKEY key, int process);
    // As RegQueryValueExW: `data` may be null (size only); a too small buffer gives
    // ERROR_MORE_DATA and the needed size.
    LONG QueryValue(HKEY key, const WCHAR* name, int process, DWORD* type, BYTE* data,
                    DWORD* size) const;
    LONG SetValue(HKEY key, const WCHAR* name, int process, DWORD type, const BYTE* data,
                  DWORD size);
    LONG DeleteValue(HKEY key, const WCHAR* name, int process);
    // Deletes the key with everything below it. An empty name deletes the key itself.
    LONG DeleteKey(HKEY key, const WCHAR* subKey, int process);

    // HKEY_CLASSES_ROOT to HKEY_USERS, the four roots there are.
    static bool IsPredefined(HKEY key) {
        const ULONG_PTR value = reinterpret_cast<ULONG_PTR>(key);
        return value >= kFirstRoot && value < kFirstRoot + kRootCount;
    }
    // Key handles `process` holds open.
    int OpenKeys(int process) const;
    // Closes every key `process` still holds (the process ended), telling the device.
    void CloseAllKeysOf(Device& device, int process);

    // Direct access by path, for tests, scenarios and .reg files: no handles, no trace.
    // `subPath` is below `root`, with "\" separators.
    bool KeyExists(HKEY root, const WString& subPath) const;
    bool EnsureKey(HKEY root, const WString& subPath);
    // Creates the path as needed; false when root or path is unusable.
    bool Put(HKEY root, const WString& subPath, const WString& name, DWORD type,
             std::vector<BYTE> data);
    bool PutDword(HKEY root, const WString& subPath, const WString& name, DWORD value);
    // REG_SZ with its terminating NUL, as regedit stores it.
    bool PutString(HKEY root, const WString& subPath, const WString& name, const WString& text);
    const RegValue* Find(HKEY root, const WString& subPath, const WString& name) const;
    bool Remove(HKEY root, const WString& subPath, const WString& name);
    bool RemoveKey(HKEY root, const WString& subPath);
    // Empties every tree; handles still open then refer to deleted keys.
    void Clear();

    // The tree under a predefined root, or null for any other handle.
    const RegKeyNode* Root(HKEY root) const;

    // "HKEY_CURRENT_USER\a\b" or "HKCU\a\b" (also HKLM, HKCR, HKU; any letter case) into
    // root and the path below it. False for an unknown root.
    static bool SplitRootPath(const WString& path, HKEY* root, WString* subPath);
    // "HKEY_CURRENT_USER" etc.; empty for any other handle.
    static WString RootName(HKEY root);

    // Walks every key below `root` (the root included) depth first, children in folded-name
    // order, without recursion. `visit` gets each key with its path below the root ("" for the
    // root, then "a", "a\\b" ...): one path buffer, extended and cut back, so the whole walk
    // costs the size of the paths and no more. Volatile keys are skipped with all below them
    // when `skipVolatile`. A `visit` that returns false ends the walk, and ForEachKey too.
    template <typename Visit>
    static bool ForEachKey(const RegKeyNode& root, bool skipVolatile, Visit visit);

    // Case-insensitive name comparison, the registry's rule.
    static WString Fold(const WString& name);
    static bool SameName(const WString& a, const WString& b);

  private:
    // The owner of a key, kept by the registry: a root, a child slot or an open handle.
    using NodeSlot = const std::shared_ptr<RegKeyNode>*;

    NodeSlot RootNode(HKEY root) const;
    // The key a handle stands for in `process`: ERROR_INVALID_HANDLE or ERROR_KEY_DELETED.
    LONG Resolve(HKEY key, int process, NodeSlot* node) const;
    // The key `subKey` names below `key`, as Resolve, then ERROR_INVALID_PARAMETER for a
    // name too long or ERROR_FILE_NOT_FOUND when there is no such key.
    LONG Locate(HKEY key, const WCHAR* subKey, int process, NodeSlot* node) const;
    // Locate's way down from `start`, name by name, when `subKey` is not the path remembered.
    LONG Walk(NodeSlot start, const WCHAR* subKey, NodeSlot* node) const;
    // Locate below a predefined root only, without handles: null when there is no such key.
    RegKeyNode* AtPath(HKEY root, const WString& subPath) const;
    HKEY NewHandle(const std::shared_ptr<RegKeyNode>& node, int process);

    std::shared_ptr<RegKeyNode> roots_[kRootCount];
    std::uint64_t removals_ = 0; // keys deleted (and Clear calls): a remembered path's age
    KeyHandles handles_;
    ULONG_PTR nextHandle_ = 0x1000;
};

template <typename Visit>
bool Registry::ForEachKey(const RegKeyNode& root, bool skipVolatile, Visit visit) {
    struct Frame {
        const RegKeyNode* node;
        decltype(RegKeyNode::children)::const_iterator next;
        std::size_t pathLength; // of the path before this key's name was added
    };
    WString path;
    if (!visit(root, path))
        return false;
    std::vector<Frame> stack{{&root, root.children.begin(), 0}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == top.node->children.end()) {
            path.resize(top.pathLength);
            stack.pop_back();
            continue;
        }
        const RegKeyNode& child = *(top.next++)->second;
        if (skipVolatile && child.isVolatile)
            continue;
        const std::size_t before = path.size();
        if (!path.empty())
            path.push_back(u'\\');
        path += child.name;
        if (!visit(child, path))
            return false;
        stack.push_back({&child, child.children.begin(), before});
    }
    return true;
}

} // namespace sim
