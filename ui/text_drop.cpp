#include "text_drop.h"

#include <shellapi.h>
#include <string.h>
#include <vector>

namespace {

struct Registration {
    HWND window;
    TextDropHandler handler;
    void* context;
    FilesDropHandler files;
    IDropTarget* target;
};
std::vector<Registration> registrations;

Registration* Find(HWND window)
{
    for (Registration& registration : registrations)
        if (registration.window == window)
            return &registration;
    return NULL;
}

FORMATETC FilesFormat()
{
    FORMATETC files = { CF_HDROP, NULL, DVASPECT_CONTENT, -1, TYMED_HGLOBAL };
    return files;
}

bool HoldsFiles(IDataObject* data)
{
    FORMATETC files = FilesFormat();
    return data && data->QueryGetData(&files) == S_OK;
}

bool FilesOf(IDataObject* data, std::vector<std::wstring>* paths)
{
    FORMATETC files = FilesFormat();
    STGMEDIUM medium = {};
    if (data->GetData(&files, &medium) != S_OK)
        return false;
    HDROP drop = (HDROP)GlobalLock(medium.hGlobal);
    if (drop) {
        UINT count = DragQueryFileW(drop, 0xFFFFFFFF, NULL, 0);
        for (UINT i = 0; i < count; i++) {
            std::wstring path(DragQueryFileW(drop, i, NULL, 0), L'\0');
            if (!path.empty() && DragQueryFileW(drop, i, &path[0], (UINT)path.size() + 1))
                paths->push_back(path);
        }
    }
    GlobalUnlock(medium.hGlobal);
    ReleaseStgMedium(&medium);
    return !paths->empty();
}

bool HoldsText(IDataObject* data)
{
    FORMATETC unicode = { CF_UNICODETEXT, NULL, DVASPECT_CONTENT, -1, TYMED_HGLOBAL };
    FORMATETC narrow = { CF_TEXT, NULL, DVASPECT_CONTENT, -1, TYMED_HGLOBAL };
    return data && (data->QueryGetData(&unicode) == S_OK || data->QueryGetData(&narrow) == S_OK);
}

bool TextOf(IDataObject* data, std::wstring* text)
{
    FORMATETC unicode = { CF_UNICODETEXT, NULL, DVASPECT_CONTENT, -1, TYMED_HGLOBAL };
    STGMEDIUM medium = {};
    if (data->GetData(&unicode, &medium) == S_OK) {
        const wchar_t* memory = (const wchar_t*)GlobalLock(medium.hGlobal);
        if (memory)
            text->assign(memory, wcsnlen(memory, GlobalSize(medium.hGlobal) / sizeof(wchar_t)));
        GlobalUnlock(medium.hGlobal);
        ReleaseStgMedium(&medium);
        return memory != NULL;
    }
    FORMATETC narrow = { CF_TEXT, NULL, DVASPECT_CONTENT, -1, TYMED_HGLOBAL };
    if (data->GetData(&narrow, &medium) != S_OK)
        return false;
    const char* memory = (const char*)GlobalLock(medium.hGlobal);
    if (memory) {
        int length = (int)strnlen(memory, GlobalSize(medium.hGlobal));
        int wide = MultiByteToWideChar(CP_ACP, 0, memory, length, NULL, 0);
        text->assign(wide, L'\0');
        if (wide)
            MultiByteToWideChar(CP_ACP, 0, memory, length, &(*text)[0], wide);
    }
    GlobalUnlock(medium.hGlobal);
    ReleaseStgMedium(&medium);
    return memory != NULL;
}

// What a drop brought, taken out of its data object while the drop lasts:
// the object belongs to the program the drag came from.
struct DroppedData {
    HWND window;
    bool files;
    std::vector<std::wstring> paths;
    std::wstring text;
};

bool TakeDrop(HWND window, IDataObject* data, DroppedData* dropped)
{
    Registration* registration = Find(window);
    if (!registration || !data)
        return false;
    dropped->window = window;
    dropped->files = registration->files && HoldsFiles(data);
    return dropped->files ? FilesOf(data, &dropped->paths) : TextOf(data, &dropped->text);
}

void HandOver(const DroppedData& dropped)
{
    // The handler may open windows, and with them register more targets.
    Registration* registration = Find(dropped.window);
    if (!registration)
        return;  // the window went meanwhile
    void* context = registration->context;
    if (dropped.files) {
        FilesDropHandler files = registration->files;
        files(dropped.window, dropped.paths, context);
    } else {
        TextDropHandler handler = registration->handler;
        handler(dropped.window, dropped.text, context);
    }
}

// Drops waiting for the drop call to return, each under its timer's id.
std::vector<std::pair<UINT_PTR, DroppedData>> waiting;

void CALLBACK HandOverWaiting(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(NULL, timer);
    for (size_t i = 0; i < waiting.size(); i++) {
        if (waiting[i].first != timer)
            continue;
        DroppedData dropped = std::move(waiting[i].second);
        waiting.erase(waiting.begin() + i);
        HandOver(dropped);
        return;
    }
}

// The one COM object: it says "copy" over the window while the drag holds
// text, and delivers the text on the drop.
class TextDropTarget : public IDropTarget {
public:
    explicit TextDropTarget(HWND window) : window_(window), references_(1), acceptable_(false) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (id == IID_IUnknown || id == IID_IDropTarget) {
            *object = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *object = NULL;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override
    {
        Registration* registration = Find(window_);
        acceptable_ = HoldsText(data) || (registration && registration->files && HoldsFiles(data));
        *effect = acceptable_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override
    {
        *effect = acceptable_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override
    {
        acceptable_ = false;
        return S_OK;
    }
    // The program the drag came from waits in its drag until this returns,
    // and a handler may open a window that stays for minutes (the import's):
    // the data is taken now and handed over once the message loop turns.
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override
    {
        acceptable_ = false;
        DroppedData dropped;
        UINT_PTR timer = 0;
        if (TakeDrop(window_, data, &dropped) && (timer = SetTimer(NULL, 0, 0, HandOverWaiting)) != 0)
            waiting.push_back({ timer, std::move(dropped) });
        *effect = timer ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        return S_OK;
    }

private:
    virtual ~TextDropTarget() {}
    HWND window_;
    LONG references_;
    bool acceptable_;
};

}  // namespace

bool AcceptTextDrops(HWND window, TextDropHandler handler, void* context, FilesDropHandler files)
{
    if (Find(window))
        return true;
    TextDropTarget* target = new TextDropTarget(window);
    if (RegisterDragDrop(window, target) != S_OK) {
        target->Release();
        return false;
    }
    registrations.push_back({ window, handler, context, files, target });
    return true;
}

void StopTextDrops(HWND window)
{
    for (size_t i = 0; i < registrations.size(); i++) {
        if (registrations[i].window != window)
            continue;
        RevokeDragDrop(window);
        registrations[i].target->Release();
        registrations.erase(registrations.begin() + i);
        return;
    }
}

bool DeliverTextDrop(HWND window, IDataObject* data)
{
    DroppedData dropped;
    if (!TakeDrop(window, data, &dropped))
        return false;
    HandOver(dropped);
    return true;
}

IDropTarget* DropTargetOf(HWND window)
{
    Registration* registration = Find(window);
    return registration ? registration->target : NULL;
}
