#include "framework/msgmap.hpp"

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, nullptr}};
  static const AFX_MSGMAP messageMap = {nullptr, entries};
  return &messageMap;
}

AFX_PMSG CCmdTarget::FindMessageHandler(UINT message) const {
  for (const AFX_MSGMAP* map = GetMessageMap(); map;
       map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr)
    for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->pfn; ++entry)
      if (entry->nMessage == message) return entry->pfn;
  return nullptr;
}
