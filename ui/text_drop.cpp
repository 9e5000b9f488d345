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
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override
    {
        acceptable_ = false;
        *effect = DeliverTextDrop(window_, data) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
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
    Registration* registration = Find(window);
    if (!registration || !data)
        return false;
    // The handler may open windows, and with them register more targets.
    void* context = registration->context;
    std::vector<std::wstring> paths;
    if (registration->files && HoldsFiles(data)) {
        FilesDropHandler files = registration->files;
        if (!FilesOf(data, &paths))
            return false;
        files(window, paths, context);
        return true;
    }
    std::wstring text;
    if (!TextOf(data, &text))
        return false;
    TextDropHandler handler = registration->handler;
    handler(window, text, context);
    return true;
}
