#include "forms/uOptions.h"

#include "app/uControllerServices.h"
#include "ui/VelaSVRuntime.h"
#include "ui/VelaSVWindowChrome.h"
#include "ui/VelaUIToggleButton.h"

using namespace ui;

TfrmOptions::TfrmOptions(HWND owner, IMainController* mainController)
    : TDialogWindow(forms::TDialogWindowArgs{.title = "Options",
                                             .clientWidth = kClientWidth,
                                             .clientHeight = kClientHeight,
                                             .maximizeButton = false,
                                             .owner = owner})
{
    CreateControls();
    Window().onClose = [this] {
        if (events_.onClosed)
            events_.onClosed(Window().ModalResult() == kResultOK);
    };
    controller_ = TControllerServices::CreateOptionsController(*this, messageBoxes_);
    if (mainController)
        controller_->SetMainController(*mainController);
}

// The controller goes first: it holds this window as its view.
TfrmOptions::~TfrmOptions() { controller_.reset(); }

int32_t TfrmOptions::ShowModal()
{
    if (events_.onShow)
        events_.onShow();
    return TDialogWindow::ShowModal();
}

TControl* TfrmOptions::Find(const std::string& name) const
{
    const auto found = controls_.find(name);
    return found == controls_.end() ? nullptr : found->second;
}

void TfrmOptions::OnClick(const std::string& name, std::function<void()> handler)
{
    if (auto* check = FindAs<TCheckBox>(name))
        check->onClick = std::move(handler);
    else if (auto* radio = FindAs<TRadioButton>(name))
        radio->onClick = std::move(handler);
    else if (auto* toggle = FindAs<TToggleButton>(name))
        toggle->onClick = std::move(handler);
    else if (auto* flat = FindAs<TFlatButton>(name))
        flat->onClick = std::move(handler);
    else if (auto* button = FindAs<TButton>(name))
        button->onClick = std::move(handler);
}

std::string TfrmOptions::Text(const std::string& name)
{
    const TControl* control = Find(name);
    return control ? control->Text() : "";
}

void TfrmOptions::SetText(const std::string& name, const std::string& text)
{
    if (name == "if_title")
        SetTitle(text);
    else if (TControl* control = Find(name))
        control->SetText(text);
}

void TfrmOptions::SetHint(const std::string& name, const std::string& text)
{
    TControl* control = name == "if_close" ? &Chrome().CloseButton() : Find(name);
    if (!control)
        return;
    control->SetHint(text);
    // A glyph button is read out by its text.
    if (dynamic_cast<TFlatButton*>(control))
        control->SetText(text);
}

void TfrmOptions::SetGlyph(const std::string& name, const std::string& bitmap)
{
    if (auto* toggle = FindAs<TToggleButton>(name))
        toggle->SetGlyph(bitmap);
    else if (auto* flat = FindAs<TFlatButton>(name))
        flat->SetGlyph(bitmap);
}

bool TfrmOptions::Checked(const std::string& name)
{
    if (auto* check = FindAs<TCheckBox>(name))
        return check->Checked();
    if (auto* radio = FindAs<TRadioButton>(name))
        return radio->Checked();
    if (auto* toggle = FindAs<TToggleButton>(name))
        return toggle->Down();
    return false;
}

void TfrmOptions::SetChecked(const std::string& name, bool checked)
{
    if (auto* check = FindAs<TCheckBox>(name))
        check->SetChecked(checked);
    else if (auto* radio = FindAs<TRadioButton>(name))
        radio->SetChecked(checked);
    else if (auto* toggle = FindAs<TToggleButton>(name))
        toggle->SetDown(checked);
}

void TfrmOptions::SetEnabled(const std::string& name, bool enabled)
{
    if (TControl* control = Find(name))
        control->SetEnabled(enabled);
}

void TfrmOptions::SetVisible(const std::string& name, bool visible)
{
    if (TControl* control = Find(name))
        control->SetVisible(visible);
}

void TfrmOptions::SetFocus(const std::string& name)
{
    TControl* control = Find(name);
    if (!control)
        return;
    // A panel passes the focus to its first control that takes it.
    if (auto* panel = dynamic_cast<TPanel*>(control))
        if (HWND first = GetNextDlgTabItem(panel->Handle(), nullptr, FALSE)) {
            ::SetFocus(first);
            return;
        }
    control->SetFocus();
}

void TfrmOptions::ShowPage(size_t index) { pages_->SetActivePage(index); }

size_t TfrmOptions::ActivePage() { return pages_->ActivePage(); }

void TfrmOptions::SetDateFormat(const std::string& format)
{
    if (auto* picker = FindAs<TDatePicker>("dtpDate"))
        picker->SetFormat(format);
}

TDateTime TfrmOptions::Date()
{
    const SYSTEMTIME date = FindAs<TDatePicker>("dtpDate")->Date();
    return TTimeRoutines::EncodeDateTime({date.wYear, date.wMonth, date.wDay, date.wHour, date.wMinute, date.wSecond,
                                          date.wMilliseconds});
}

void TfrmOptions::SetDate(TDateTime value)
{
    const TDateTimeParts parts = TTimeRoutines::DecodeDateTime(value);
    SYSTEMTIME date{};
    date.wYear = static_cast<WORD>(parts.year);
    date.wMonth = static_cast<WORD>(parts.month);
    date.wDay = static_cast<WORD>(parts.day);
    date.wHour = static_cast<WORD>(parts.hour);
    date.wMinute = static_cast<WORD>(parts.minute);
    date.wSecond = static_cast<WORD>(parts.second);
    date.wMilliseconds = static_cast<WORD>(parts.millisecond);
    // The round trip fills in the day of the week, which the picker checks.
    FILETIME time{};
    if (SystemTimeToFileTime(&date, &time))
        FileTimeToSystemTime(&time, &date);
    FindAs<TDatePicker>("dtpDate")->SetDate(date);
}

int32_t TfrmOptions::MonitorNumber() { return TSVRuntime::MonitorOf(Window().Handle()); }

void TfrmOptions::ApplyTransparencyToAll(bool enabled, uint8_t alpha) { TTransparencySupport::Apply(enabled, alpha); }

void TfrmOptions::Close(bool accepted) { CloseWith(accepted ? kResultOK : kResultCancel); }
