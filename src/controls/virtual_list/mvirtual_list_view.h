// SPDX-License-Identifier: GPL-3.0-or-later
// MVirtualListView: the message-level half of the virtual list view.
//
// The inner list control has no owner-data setting of its own and reports
// selection, label edits and display requests only as notifications. This
// module makes both work on the window-message level:
//
// - a one-shot WH_CALLWNDPROC hook catches the WM_CREATE of the next list
//   (or dialog) window on the thread and adds LVS_OWNERDATA to its creation
//   record before the list reads it;
// - after creation, the component window (which receives the list's
//   notifications) and the inner list window both get VirtualListWndProc as
//   their procedure; HandleMessage turns notifications into the component's
//   events, a mouse press followed by the list's next timer message into
//   ItemClick, and passes everything else to the window's previous procedure.
#pragma once

#include <memory>

#include "controls/virtual_list/virtual_list_view.h"
#include "platform/messages.h"
#include "platform/window.h"

namespace virtual_list {

// The window property, on both windows, that leads back to the component.
inline constexpr const char* kComponentProp = "nvVirtualLV";

// The process-wide switch an owner window turns on before it creates its
// controls, so that its virtual list views come up owner-data.
extern bool VirtualListHookEnabled;

// Installs the one-shot creation hook. Only one creation is intercepted at a
// time: a hook still waiting from an earlier call is replaced.
void InstallCreationHook();
// Removes a creation hook that is still waiting (it never saw its window).
void RemoveCreationHook();
bool CreationHookPending();

platform::LRESULT CreationHookProc(int32_t code, platform::WPARAM wp, platform::LPARAM lp);
platform::LRESULT CreationWndProc(platform::HWND hwnd, platform::UINT msg, platform::WPARAM wp,
                                  platform::LPARAM lp);

void SubClass(UVirtualListView& component);
void UnSubClass(UVirtualListView& component);

// A component found through a window's property, kept alive-checkable for
// the duration of one message.
struct ComponentRef {
    UVirtualListView* component = nullptr;
    std::shared_ptr<bool> alive;
    explicit operator bool() const { return component != nullptr; }
};
ComponentRef ComponentFromWindow(platform::HWND hwnd);

platform::LRESULT VirtualListWndProc(platform::HWND hwnd, platform::UINT msg, platform::WPARAM wp,
                                     platform::LPARAM lp);
platform::LRESULT HandleMessage(UVirtualListView& component, platform::HWND hwnd,
                                platform::UINT msg, platform::WPARAM wp, platform::LPARAM lp);

}  // namespace virtual_list
