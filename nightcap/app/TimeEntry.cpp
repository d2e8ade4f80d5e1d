#include "nightcap/app/TimeEntry.h"

#include <commctrl.h>

#include "nightcap/app/ScheduleRules.h"
#include "nightcap/app/SliderGeometry.h"

namespace nightcap {

namespace {

constexpr UINT_PTR kSubclassId = 0x4E43;  // "NC"
// The fill of both frame images (assets/nightcap/art/make-skin.sh) and the text on it.
constexpr COLORREF kFieldFill = RGB(0x10, 0x1F, 0x3C);
constexpr COLORREF kFieldText = RGB(0xE8, 0xEE, 0xF8);

std::string WindowText(HWND hwnd) {
    char text[64] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

TimeField Other(TimeField field) { return field == TimeField::Hour ? TimeField::Minute : TimeField::Hour; }

}  // namespace

TimeEntry::TimeEntry(const TimeFieldWindows& hour, const TimeFieldWindows& minute, const FrameImages& frames,
                     Slider* slider)
    : hour_(hour), minute_(minute), frames_(frames), slider_(slider) {}

std::string TimeEntry::LabelText(TimeField field) const { return WindowText(Of(field).label); }

void TimeEntry::ShowSelectedFrame() {
    Of(selected_).frame->SetBackImage(frames_.selected);
    Of(Other(selected_)).frame->SetBackImage(frames_.plain);
}

void TimeEntry::ShowFramesPlain() {
    hour_.frame->SetBackImage(frames_.plain);
    minute_.frame->SetBackImage(frames_.plain);
}

void TimeEntry::Select(TimeField field) {
    selected_ = field;
    ShowSelectedFrame();
    ShowWindow(Of(Other(field)).edit, SW_HIDE);
    if (slider_) slider_->MoveSliderTo(PercentForLabel(field, LabelText(field)));
}

void TimeEntry::StartTyping(TimeField field) {
    selected_ = field;
    ShowSelectedFrame();
    HWND edit = Of(field).edit;
    ShowWindow(edit, SW_SHOW);
    ShowWindow(Of(Other(field)).edit, SW_HIDE);
    SetWindowTextA(edit, "");
    SetFocus(edit);
}

void TimeEntry::Commit(TimeField field) {
    const TimeFieldWindows& windows = Of(field);
    if (auto label = CommittedLabel(field, WindowText(windows.edit))) SetWindowTextA(windows.label, label->c_str());
    ShowWindow(windows.edit, SW_HIDE);
}

void TimeEntry::HideEditBoxes() {
    ShowWindow(hour_.edit, SW_HIDE);
    ShowWindow(minute_.edit, SW_HIDE);
}

void TimeEntry::ShowDraggedPercent(int percent) {
    int value = selected_ == TimeField::Hour ? HourFromPercent(percent) : MinuteFromPercent(percent);
    SetWindowTextA(Of(selected_).label, TwoDigits(value).c_str());
}

void TimeEntry::WireEvents() {
    fieldFill_.Reset(CreateSolidBrush(kFieldFill));
    for (TimeField field : {TimeField::Hour, TimeField::Minute}) {
        HWND label = Of(field).label;
        SetWindowLongA(label, GWL_STYLE, GetWindowLongA(label, GWL_STYLE) | SS_CENTERIMAGE);  // digits mid-frame
        SetWindowSubclass(Of(field).frame->Handle(), FrameProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
        SetWindowSubclass(Of(field).label, LabelProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
        SetWindowSubclass(Of(field).edit, EditProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    }
}

LRESULT CALLBACK TimeEntry::LabelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR data) {
    auto* self = reinterpret_cast<TimeEntry*>(data);
    TimeField field = hwnd == self->hour_.label ? TimeField::Hour : TimeField::Minute;
    switch (message) {
    case WM_NCHITTEST:
        return HTCLIENT;  // a plain static label lets clicks fall through to its parent
    case WM_LBUTTONUP:
        self->Select(field);
        break;
    case WM_LBUTTONDBLCLK:
        self->StartTyping(field);
        return 0;
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, LabelProc, kSubclassId);
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK TimeEntry::EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR data) {
    auto* self = reinterpret_cast<TimeEntry*>(data);
    TimeField field = hwnd == self->hour_.edit ? TimeField::Hour : TimeField::Minute;
    switch (message) {
    case WM_KILLFOCUS: {
        LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
        self->Commit(field);
        return result;
    }
    case WM_CHAR:
        // Enter ends the typing like leaving the box; Esc leaves it empty, so the label stays as it was.
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
            if (wParam == VK_ESCAPE) SetWindowTextA(hwnd, "");
            SetFocus(GetParent(hwnd));
            return 0;
        }
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, EditProc, kSubclassId);
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK TimeEntry::FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR data) {
    auto* self = reinterpret_cast<TimeEntry*>(data);
    switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: {
        auto child = reinterpret_cast<HWND>(lParam);
        bool ours = child == self->hour_.label || child == self->hour_.edit || child == self->minute_.label ||
                    child == self->minute_.edit;
        if (!ours) break;
        auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, kFieldText);
        SetBkColor(dc, kFieldFill);
        return reinterpret_cast<LRESULT>(self->fieldFill_.Get());
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, FrameProc, kSubclassId);
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace nightcap
