#include "framework/cmd_target.h"

namespace {
const MsgMapEntry noEntries[] = {MsgMapEntry{}};
}

const MsgMap CCmdTarget::messageMap = {nullptr, noEntries};

const MsgMapEntry* CCmdTarget::FindEntry(UINT message, UINT code, UINT id) const {
    for (const MsgMap* map = GetMessageMap(); map != nullptr; map = map->base) {
        for (const MsgMapEntry* e = map->entries; e->handler != nullptr; ++e) {
            if (e->message != message)
                continue;
            if (message == WM_COMMAND && (e->code != code || e->id != id))
                continue;
            return e;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT id, int code) {
    const MsgMapEntry* entry = FindEntry(WM_COMMAND, static_cast<UINT>(code), id);
    if (entry == nullptr)
        return FALSE;
    entry->handler(*this, 0, 0);
    return TRUE;
}
