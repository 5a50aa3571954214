// Dialog boxes from the program's templates, and the calls that reach their controls.
#include "platform/platform.h"
#include "platform/resources.h"
#include "platform/sim/device.h"
#include "platform/sim/messaging.h"
#include "platform/sim/resource_names.h"
#include "platform/sim/trace_arg.h"
#include "platform/sim/window_ops.h"

using sim::Dev;

using sim::P;

namespace {

HWND Control(HWND dialog, int id) {
    const sim::Window* window = Dev().windows.Get(dialog);
    if (window == nullptr) {
        Dev().SetLastErrorValue(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    for (HWND child : window->children)
        if (const sim::Window* c = Dev().windows.Get(child);
            c != nullptr && static_cast<int>(c->id) == id)
            return child;
    Dev().SetLastErrorValue(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

const res::Dialog* TemplateNamed(LPCWSTR name) {
    const std::optional<WORD> id = sim::ResourceId(name);
    const res::Dialog* found = id ? res::FindDialog(res::ProgramResources(), *id) : nullptr;
    if (found == nullptr)
        Dev().SetLastErrorValue(ERROR_RESOURCE_NAME_NOT_FOUND);
    return found;
}

// DialogBox's rule: 0 for a parent that is not a window, -1 for any other failure.
INT_PTR RunDialogBox(const res::Dialog* dialogTemplate, HINSTANCE instance, HWND parent,
                     DLGPROC proc, LPARAM initParam) {
    sim::Device& device = Dev();
    if (parent != nullptr && !device.windows.Exists(parent)) {
        device.SetLastErrorValue(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (dialogTemplate == nullptr)
        return -1;
    if (device.faults.modalRun) {
        device.SetLastErrorValue(ERROR_NOT_ENOUGH_MEMORY);
        return -1;
    }
    const HWND dialog =
        device.dialogs.Create(*dialogTemplate, instance, parent, proc, initParam, true);
    if (dialog == nullptr)
        return -1;
    return device.dialogs.RunModal(dialog);
}

} // namespace

INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND parent,
                                DLGPROC dialogProc, LPARAM initParam) {
    if (dialogTemplate == nullptr)
        Dev().SetLastErrorValue(ERROR_INVALID_PARAMETER);
    const INT_PTR result = RunDialogBox(dialogTemplate, instance, parent, dialogProc, initParam);
    Dev().trace.Call("DialogBoxIndirectParamW", result, P(instance),
                     dialogTemplate != nullptr ? dialogTemplate->id : 0u, P(parent), initParam);
    return result;
}

INT_PTR DialogBoxParamW(HINSTANCE instance, LPCWSTR templateName, HWND parent, DLGPROC dialogProc,
                        LPARAM initParam) {
    const INT_PTR result =
        RunDialogBox(TemplateNamed(templateName), instance, parent, dialogProc, initParam);
    Dev().trace.Call("DialogBoxParamW", result, P(instance), sim::ResourceNameArg(templateName),
                     P(parent), initParam);
    return result;
}

HWND CreateDialogParamW(HINSTANCE instance, LPCWSTR templateName, HWND parent, DLGPROC dialogProc,
                        LPARAM initParam) {
    sim::Device& device = Dev();
    HWND result = nullptr;
    const res::Dialog* dialogTemplate = TemplateNamed(templateName);
    if (parent != nullptr && !device.windows.Exists(parent))
        device.SetLastErrorValue(ERROR_INVALID_WINDOW_HANDLE);
    else if (dialogTemplate != nullptr)
        result =
            device.dialogs.Create(*dialogTemplate, instance, parent, dialogProc, initParam, false);
    device.trace.Call("CreateDialogParamW", P(result), P(instance),
                      sim::ResourceNameArg(templateName), P(parent), initParam);
    return result;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    sim::Device& device = Dev();
    const BOOL ok = device.dialogs.End(dialog, result) ? TRUE : FALSE;
    if (!ok)
        device.SetLastErrorValue(ERROR_INVALID_WINDOW_HANDLE);
    device.trace.Call("EndDialog", ok, P(dialog), static_cast<long long>(result));
    return ok;
}

HWND GetDlgItem(HWND dialog, int id) {
    const HWND result = Control(dialog, id);
    Dev().trace.Call("GetDlgItem", P(result), P(dialog), id);
    return result;
}

int GetDlgCtrlID(HWND control) {
    sim::Device& device = Dev();
    int result = 0;
    if (const sim::Window* window = device.windows.Get(control); window == nullptr)
        device.SetLastErrorValue(ERROR_INVALID_WINDOW_HANDLE);
    else if (window->IsChild())
        result = static_cast<int>(window->id);
    device.trace.Call("GetDlgCtrlID", result, P(control));
    return result;
}

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR text, int maxCount) {
    UINT result = 0;
    if (HWND control = Control(dialog, id))
        result = static_cast<UINT>(sim::GetText(control, text, maxCount));
    else if (text != nullptr && maxCount > 0)
        text[0] = 0;
    Dev().trace.Call("GetDlgItemTextW", result, P(dialog), id, maxCount);
    return result;
}

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) {
    BOOL result = FALSE;
    if (HWND control = Control(dialog, id))
        result = sim::SetText(control, text) ? TRUE : FALSE;
    Dev().trace.Call("SetDlgItemTextW", result, P(dialog), id, text);
    return result;
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HWND control = Control(dialog, id))
        result = sim::Send(control, message, wParam, lParam);
    Dev().trace.Call("SendDlgItemMessageW", result, P(dialog), id, sim::MessageArg{message}, wParam,
                     lParam);
    return result;
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
    BOOL result = FALSE;
    if (HWND control = Control(dialog, id)) {
        sim::Send(control, BM_SETCHECK, check, 0);
        result = TRUE;
    }
    Dev().trace.Call("CheckDlgButton", result, P(dialog), id, check);
    return result;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    UINT result = 0;
    if (HWND control = Control(dialog, id))
        result = static_cast<UINT>(sim::Send(control, BM_GETCHECK, 0, 0));
    Dev().trace.Call("IsDlgButtonChecked", result, P(dialog), id);
    return result;
}

BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId) {
    sim::Device& device = Dev();
    BOOL result = FALSE;
    if (const sim::Window* window = device.windows.Get(dialog)) {
        const std::vector<HWND> children = window->children;
        for (HWND child : children) {
            const sim::Window* c = device.windows.Get(child);
            const int id = c == nullptr ? 0 : static_cast<int>(c->id);
            if (c != nullptr && id >= firstId && id <= lastId)
                sim::Send(child, BM_SETCHECK, id == checkId ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        result = TRUE;
    } else {
        device.SetLastErrorValue(ERROR_INVALID_WINDOW_HANDLE);
    }
    device.trace.Call("CheckRadioButton", result, P(dialog), firstId, lastId, checkId);
    return result;
}

BOOL IsDialogMessageW(HWND dialog, LPMSG msg) {
    const BOOL result = msg != nullptr && Dev().dialogs.PreTranslate(dialog, *msg) ? TRUE : FALSE;
    Dev().trace.Call("IsDialogMessageW", result, P(dialog),
                     sim::MessageArg{msg != nullptr ? msg->message : 0u});
    return result;
}
