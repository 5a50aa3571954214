// Base of every object that receives messages or commands through a message map.
#pragma once

#include "framework/msg_map.h"

class CCmdTarget {
  public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    virtual const MsgMap* GetMessageMap() const { return &messageMap; }

    // Offers a command to this object's map chain; TRUE when a handler took it.
    virtual BOOL OnCmdMsg(UINT id, int code);

    // The first entry for `message` (and, for WM_COMMAND, code and id) in the chain, or null.
    const MsgMapEntry* FindEntry(UINT message, UINT code, UINT id) const;

    static const MsgMap messageMap;
};
