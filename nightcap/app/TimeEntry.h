// The hour and minute fields of the main window: which one the slider edits, the edit box that replaces a
// label on a double click, and what a typed value becomes. The labels hold the schedule's texts.
#pragma once
#include <windows.h>

#include <string>

#include "common/Handles.h"

#include "nightcap/app/Slider.h"
#include "nightcap/app/TimeEntryRules.h"
#include "nightcap/controls/ImagePictureBox.h"

namespace nightcap {

struct TimeFieldWindows {
    HWND label = nullptr;                  // 标签_时 / 标签_分
    HWND edit = nullptr;                   // 编辑框_时 / 编辑框_分
    ImagePictureBox* frame = nullptr;      // 图片框_时 / 图片框_分
};

struct FrameImages {
    GpImage* selected = nullptr;
    GpImage* plain = nullptr;
};

class TimeEntry {
public:
    TimeEntry(const TimeFieldWindows& hour, const TimeFieldWindows& minute, const FrameImages& frames,
              Slider* slider);
    TimeEntry(const TimeEntry&) = delete;
    TimeEntry& operator=(const TimeEntry&) = delete;

    // Sends the labels' clicks and double clicks and the edit boxes' focus loss here, and paints the labels
    // and edit boxes in the frames' colours.
    void WireEvents();

    void Select(TimeField field);      // a click on a label
    void StartTyping(TimeField field); // a double click on a label
    void Commit(TimeField field);      // its edit box lost the focus
    void HideEditBoxes();              // a click on the tab strip or the time panel
    void ShowDraggedPercent(int percent);

    // While a schedule runs both frames look unselected; afterwards the selected one is shown again.
    void ShowFramesPlain();
    void ShowSelectedFrame();

    TimeField Selected() const { return selected_; }
    std::string LabelText(TimeField field) const;

private:
    const TimeFieldWindows& Of(TimeField field) const { return field == TimeField::Hour ? hour_ : minute_; }
    static LRESULT CALLBACK LabelProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    static LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    static LRESULT CALLBACK FrameProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    TimeFieldWindows hour_, minute_;
    FrameImages frames_;
    Slider* slider_;
    TimeField selected_ = TimeField::Hour;
    UniqueBrush fieldFill_;
};

}  // namespace nightcap
