// Message maps: each class lists message -> handler pairs; a message that no
// class in the chain lists gets the window's default handling.
#pragma once

#include "framework/afx_types.hpp"

class CCmdTarget;

using AFX_PMSG = LRESULT (*)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;
  AFX_PMSG pfn;  // nullptr ends the table
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();  // nullptr at the root
  const AFX_MSGMAP_ENTRY* lpEntries;
};

class CCmdTarget {
 public:
  virtual ~CCmdTarget() = default;
  virtual const AFX_MSGMAP* GetMessageMap() const;
  static const AFX_MSGMAP* GetThisMessageMap();

 protected:
  // The handler for `message` in this object's map chain, or nullptr.
  AFX_PMSG FindMessageHandler(UINT message) const;
};

#define DECLARE_MESSAGE_MAP()                              \
 public:                                                   \
  static const AFX_MSGMAP* GetThisMessageMap();            \
  const AFX_MSGMAP* GetMessageMap() const override;        \
                                                           \
 private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                        \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }   \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                                   \
    using ThisClass [[maybe_unused]] = theClass;                                      \
    using TheBaseClass = baseClass;                                                   \
    static const AFX_MSGMAP_ENTRY entries[] = {
#define END_MESSAGE_MAP()                                                         \
  { 0, nullptr }                                                                  \
  }                                                                               \
  ;                                                                               \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, entries}; \
  return &messageMap;                                                             \
  }

// Entries: each decodes the message's arguments for its handler.
#define ON_WM_CREATE()                                                             \
  {WM_CREATE, [](CCmdTarget* target, WPARAM, LPARAM lParam) -> LRESULT {           \
     return static_cast<ThisClass*>(target)->OnCreate(                            \
         reinterpret_cast<CREATESTRUCT*>(lParam));                                 \
   }},
#define ON_WM_SIZE()                                                                    \
  {WM_SIZE, [](CCmdTarget* target, WPARAM wParam, LPARAM lParam) -> LRESULT {           \
     static_cast<ThisClass*>(target)->OnSize(static_cast<UINT>(wParam), LOWORD(lParam), \
                                             HIWORD(lParam));                           \
     return 0;                                                                          \
   }},
#define ON_WM_DESTROY()                                                \
  {WM_DESTROY, [](CCmdTarget* target, WPARAM, LPARAM) -> LRESULT {     \
     static_cast<ThisClass*>(target)->OnDestroy();                    \
     return 0;                                                         \
   }},
