#include "HtmlView.h"

#include "BrowserHost.h"

namespace {

// The platform's HTML document object; without it the browser control can
// navigate but never show a page.
const CLSID kClsidHtmlDocument = {0x25336920, 0x03F9, 0x11CF, {0x8F, 0xD0, 0x00, 0xAA, 0x00, 0x68, 0x6F, 0x13}};

}  // namespace

CHtmlView::CHtmlView() = default;

CHtmlView::~CHtmlView()
{
    if (m_host)
        m_host->Close();
}

HRESULT CHtmlView::Navigate2(const char* url, DWORD flags, const char* targetFrameName, const char* headers,
                             const void* postedData, DWORD postedDataLength)
{
    if (!m_host)
        return E_FAIL;
    return m_host->Navigate2(url, flags, targetFrameName, headers, postedData, postedDataLength);
}

bool CHtmlView::HasBrowser() const
{
    return m_host && m_host->HasBrowser();
}

void CHtmlView::CloseBrowser()
{
    if (m_host) {
        m_host->Close();
        m_host.Release();
    }
}

BOOL CHtmlView::PreCreateWindow(CREATESTRUCTA& cs)
{
    return CView::PreCreateWindow(cs);
}

void CHtmlView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
}

BOOL CHtmlView::PreTranslateMessage(MSG* msg)
{
    if (m_host && m_host->ForwardKeyboardMessage(msg))
        return TRUE;
    return CView::PreTranslateMessage(msg);
}

HRESULT CHtmlView::OnGetExternal(IDispatch** dispatch)
{
    if (dispatch)
        *dispatch = nullptr;
    return E_NOTIMPL;
}

void CHtmlView::OnBeforeNavigate2(const char*, DWORD, const char*, const std::vector<BYTE>&, const char*, BOOL*)
{
}

void CHtmlView::OnDocumentComplete(const char*)
{
}

bool CHtmlView::IsHtmlEngineAvailable()
{
    CComPtr<IUnknown> document;
    return SUCCEEDED(::CoCreateInstance(kClsidHtmlDocument, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                        reinterpret_cast<void**>(document.Receive())));
}

int CHtmlView::OnCreate()
{
    if (!IsHtmlEngineAvailable())
        return 0;  // no control: the view stays, empty
    RECT client {};
    GetClientRect(&client);
    m_host.Attach(new CBrowserHost(*this));
    if (FAILED(m_host->Open(m_hWnd, client)))
        m_host.Release();  // no control: the view stays, empty
    return 0;
}

void CHtmlView::OnDestroy()
{
    CloseBrowser();
}

void CHtmlView::OnSize(UINT, int cx, int cy)
{
    if (m_host) {
        const RECT rect {0, 0, cx, cy};
        m_host->SetRect(rect);
    }
}

void CHtmlView::OnSetFocus()
{
    if (m_host)
        m_host->Activate();
}
