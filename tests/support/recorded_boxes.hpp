// Records the window objects' message boxes instead of showing them, for as
// long as it lives: owner, caption and text of each, in order.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "framework/message_box_presenter.hpp"

class RecordedBoxes {
 public:
  struct Box {
    HWND owner;
    std::string caption;
    std::string text;
  };

  RecordedBoxes()
      : m_previous(
            AfxSetMessageBoxPresenter([this](HWND owner, const char* text, const char* caption) {
              boxes.push_back(Box{owner, caption, text});
            })) {}
  ~RecordedBoxes() { AfxSetMessageBoxPresenter(std::move(m_previous)); }
  RecordedBoxes(const RecordedBoxes&) = delete;
  RecordedBoxes& operator=(const RecordedBoxes&) = delete;

  // "caption: text" of every box so far.
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (const Box& box : boxes) lines.push_back(box.caption + ": " + box.text);
    return lines;
  }

  std::vector<Box> boxes;

 private:
  AfxMessageBoxPresenter m_previous;
};
