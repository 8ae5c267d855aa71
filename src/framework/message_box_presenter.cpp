#include "framework/message_box_presenter.hpp"

#include <utility>

#include "platform/platform.hpp"

namespace {
AfxMessageBoxPresenter g_presenter;
}  // namespace

AfxMessageBoxPresenter AfxSetMessageBoxPresenter(AfxMessageBoxPresenter presenter) {
  return std::exchange(g_presenter, std::move(presenter));
}

void AfxPresentMessageBox(HWND owner, const char* text, const char* caption) {
  if (g_presenter)
    g_presenter(owner, text, caption);
  else
    platform::ShowBox(owner, text, caption);
}
