#include "BrowserHost.h"

#include <exdispid.h>
#include <ole2.h>

#include "Bstr.h"
#include "HtmlView.h"
#include "WideText.h"

namespace {

const VARIANT* Dereference(const VARIANT& value)
{
    if (value.vt == (VT_BYREF | VT_VARIANT) && value.pvarVal)
        return value.pvarVal;
    return &value;
}

// A VARIANT that is cleared when it goes out of scope.
class ScopedVariant {
public:
    ScopedVariant() { ::VariantInit(&m_value); }
    ~ScopedVariant() { ::VariantClear(&m_value); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;
    VARIANT* operator&() { return &m_value; }
    VARIANT& Get() { return m_value; }

private:
    VARIANT m_value;
};

}  // namespace

CString VariantToText(const VARIANT& value)
{
    const VARIANT* inner = Dereference(value);
    if (inner->vt == VT_BSTR)
        return NarrowFromWide(inner->bstrVal, inner->bstrVal ? static_cast<int>(::SysStringLen(inner->bstrVal)) : 0);
    if (inner->vt == (VT_BYREF | VT_BSTR) && inner->pbstrVal)
        return NarrowFromWide(*inner->pbstrVal, *inner->pbstrVal ? static_cast<int>(::SysStringLen(*inner->pbstrVal)) : 0);
    return CString();
}

std::vector<BYTE> VariantToBytes(const VARIANT& value)
{
    const VARIANT* inner = Dereference(value);
    SAFEARRAY* array = nullptr;
    if (inner->vt == (VT_ARRAY | VT_UI1))
        array = inner->parray;
    else if (inner->vt == (VT_BYREF | VT_ARRAY | VT_UI1) && inner->pparray)
        array = *inner->pparray;
    std::vector<BYTE> bytes;
    if (!array || ::SafeArrayGetDim(array) != 1)
        return bytes;
    LONG lower = 0;
    LONG upper = -1;
    ::SafeArrayGetLBound(array, 1, &lower);
    ::SafeArrayGetUBound(array, 1, &upper);
    if (upper < lower)
        return bytes;
    void* data = nullptr;
    if (SUCCEEDED(::SafeArrayAccessData(array, &data))) {
        const BYTE* first = static_cast<const BYTE*>(data);
        bytes.assign(first, first + (upper - lower + 1));
        ::SafeArrayUnaccessData(array);
    }
    return bytes;
}

HRESULT CBrowserHost::Open(HWND parent, const RECT& rect)
{
    m_hWndParent = parent;
    m_rect = rect;
    HRESULT status = ::CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                        reinterpret_cast<void**>(m_oleObject.Receive()));
    if (FAILED(status))
        return status;
    status = m_oleObject->SetClientSite(static_cast<IOleClientSite*>(this));
    if (SUCCEEDED(status))
        status = m_oleObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(this), 0,
                                     parent, &m_rect);
    if (SUCCEEDED(status))
        status = m_oleObject.QueryInterface(IID_IWebBrowser2, m_browser);
    if (SUCCEEDED(status))
        status = m_oleObject.QueryInterface(IID_IOleInPlaceObject, m_inPlaceObject);
    if (SUCCEEDED(status)) {
        CComPtr<IConnectionPointContainer> container;
        status = m_oleObject.QueryInterface(IID_IConnectionPointContainer, container);
        if (SUCCEEDED(status))
            status = container->FindConnectionPoint(DIID_DWebBrowserEvents2, m_connectionPoint.Receive());
        if (SUCCEEDED(status))
            status = m_connectionPoint->Advise(static_cast<IDispatch*>(this), &m_dwEventCookie);
    }
    if (FAILED(status)) {
        Close();
        return status;
    }
    // Keyboard forwarding works on the active object; some controls only name it
    // through SetActiveObject, others answer the query directly.
    if (!m_activeObject)
        m_oleObject.QueryInterface(IID_IOleInPlaceActiveObject, m_activeObject);
    return S_OK;
}

void CBrowserHost::Close()
{
    if (m_connectionPoint) {
        if (m_dwEventCookie)
            m_connectionPoint->Unadvise(m_dwEventCookie);
        m_dwEventCookie = 0;
        m_connectionPoint.Release();
    }
    m_activeObject.Release();
    if (m_inPlaceObject) {
        m_inPlaceObject->InPlaceDeactivate();
        m_inPlaceObject.Release();
    }
    m_browser.Release();
    if (m_oleObject) {
        m_oleObject->Close(OLECLOSE_NOSAVE);
        m_oleObject->SetClientSite(nullptr);
        m_oleObject.Release();
    }
    m_pView = nullptr;
}

void CBrowserHost::SetRect(const RECT& rect)
{
    m_rect = rect;
    if (m_inPlaceObject)
        m_inPlaceObject->SetObjectRects(&m_rect, &m_rect);
}

void CBrowserHost::Activate()
{
    if (m_oleObject)
        m_oleObject->DoVerb(OLEIVERB_UIACTIVATE, nullptr, static_cast<IOleClientSite*>(this), 0, m_hWndParent, &m_rect);
}

bool CBrowserHost::ForwardKeyboardMessage(MSG* msg)
{
    if (!m_activeObject || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST)
        return false;
    return m_activeObject->TranslateAccelerator(msg) == S_OK;
}

HRESULT CBrowserHost::Navigate2(const char* url, DWORD flags, const char* targetFrameName, const char* headers,
                                const void* postedData, DWORD postedDataLength)
{
    if (!m_browser)
        return E_FAIL;
    CBstr urlText(url ? url : "");
    CBstr targetText(targetFrameName);
    CBstr headerText(headers);
    VARIANT urlValue;
    ::VariantInit(&urlValue);
    urlValue.vt = VT_BSTR;
    urlValue.bstrVal = urlText.Get();
    VARIANT flagValue;
    ::VariantInit(&flagValue);
    flagValue.vt = VT_I4;
    flagValue.lVal = static_cast<LONG>(flags);
    VARIANT targetValue;
    ::VariantInit(&targetValue);
    if (targetText.Get()) {
        targetValue.vt = VT_BSTR;
        targetValue.bstrVal = targetText.Get();
    }
    VARIANT headerValue;
    ::VariantInit(&headerValue);
    if (headerText.Get()) {
        headerValue.vt = VT_BSTR;
        headerValue.bstrVal = headerText.Get();
    }
    ScopedVariant postValue;
    if (postedData && postedDataLength > 0) {
        SAFEARRAY* array = ::SafeArrayCreateVector(VT_UI1, 0, postedDataLength);
        if (!array)
            return E_OUTOFMEMORY;
        void* data = nullptr;
        if (SUCCEEDED(::SafeArrayAccessData(array, &data))) {
            memcpy(data, postedData, postedDataLength);
            ::SafeArrayUnaccessData(array);
        }
        postValue.Get().vt = VT_ARRAY | VT_UI1;
        postValue.Get().parray = array;
    }
    return m_browser->Navigate2(&urlValue, &flagValue, &targetValue, &postValue, &headerValue);
}

HRESULT STDMETHODCALLTYPE CBrowserHost::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite))
        *object = static_cast<IOleClientSite*>(this);
    else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceSite))
        *object = static_cast<IOleInPlaceSite*>(this);
    else if (IsEqualIID(iid, IID_IOleInPlaceUIWindow) || IsEqualIID(iid, IID_IOleInPlaceFrame))
        *object = static_cast<IOleInPlaceFrame*>(this);
    else if (IsEqualIID(iid, IID_IDocHostUIHandler))
        *object = static_cast<IDocHostUIHandler*>(this);
    else if (IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, DIID_DWebBrowserEvents2))
        *object = static_cast<IDispatch*>(this);
    if (!*object)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE CBrowserHost::AddRef()
{
    return ++m_dwRef;
}

ULONG STDMETHODCALLTYPE CBrowserHost::Release()
{
    const ULONG count = --m_dwRef;
    if (count == 0)
        delete this;
    return count;
}

HRESULT STDMETHODCALLTYPE CBrowserHost::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    if (moniker)
        *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CBrowserHost::GetContainer(IOleContainer** container)
{
    if (container)
        *container = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE CBrowserHost::GetWindow(HWND* window)
{
    if (!window)
        return E_POINTER;
    *window = m_hWndParent;
    return m_hWndParent ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE CBrowserHost::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                                         LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO frameInfo)
{
    if (!frame || !document || !position || !clip || !frameInfo)
        return E_POINTER;
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *document = nullptr;
    *position = m_rect;
    *clip = m_rect;
    frameInfo->cb = sizeof(OLEINPLACEFRAMEINFO);
    frameInfo->fMDIApp = FALSE;
    frameInfo->hwndFrame = m_hWndParent;
    frameInfo->haccel = nullptr;
    frameInfo->cAccelEntries = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CBrowserHost::OnPosRectChange(LPCRECT rect)
{
    if (!rect)
        return E_POINTER;
    SetRect(*rect);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CBrowserHost::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR)
{
    m_activeObject.Release();
    if (object)
        m_activeObject = CComPtr<IOleInPlaceActiveObject>(object);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CBrowserHost::GetOptionKeyPath(LPOLESTR* key, DWORD)
{
    if (key)
        *key = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CBrowserHost::GetDropTarget(IDropTarget*, IDropTarget** target)
{
    if (target)
        *target = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CBrowserHost::GetExternal(IDispatch** dispatch)
{
    if (!m_pView) {
        if (dispatch)
            *dispatch = nullptr;
        return E_NOTIMPL;
    }
    return m_pView->OnGetExternal(dispatch);
}

HRESULT STDMETHODCALLTYPE CBrowserHost::TranslateUrl(DWORD, LPWSTR, LPWSTR* url)
{
    if (url)
        *url = nullptr;
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE CBrowserHost::FilterDataObject(IDataObject*, IDataObject** result)
{
    if (result)
        *result = nullptr;
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE CBrowserHost::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CBrowserHost::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CBrowserHost::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                               EXCEPINFO*, UINT*)
{
    if (!m_pView || !params)
        return S_OK;
    // Event arguments arrive last-first.
    switch (id) {
    case DISPID_BEFORENAVIGATE2: {
        // (browser, address, flags, target frame, posted data, headers, cancel)
        if (params->cArgs != 7)
            return DISP_E_BADPARAMCOUNT;
        const VARIANT* args = params->rgvarg;
        const CString url = VariantToText(args[5]);
        const VARIANT* flags = Dereference(args[4]);
        const CString target = VariantToText(args[3]);
        const std::vector<BYTE> posted = VariantToBytes(args[2]);
        const CString headers = VariantToText(args[1]);
        VARIANT_BOOL* cancel = args[0].vt == (VT_BYREF | VT_BOOL) ? args[0].pboolVal : nullptr;
        BOOL cancelFlag = cancel && *cancel != VARIANT_FALSE;
        const DWORD flagValue = flags->vt == VT_I4 ? static_cast<DWORD>(flags->lVal) : 0;
        m_pView->OnBeforeNavigate2(url, flagValue, target, posted, headers, &cancelFlag);
        if (cancel)
            *cancel = cancelFlag ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
    case DISPID_DOCUMENTCOMPLETE: {
        // (browser, address)
        if (params->cArgs != 2)
            return DISP_E_BADPARAMCOUNT;
        m_pView->OnDocumentComplete(VariantToText(params->rgvarg[0]));
        return S_OK;
    }
    default:
        return S_OK;
    }
}
