#pragma once
// The dual interfaces of the public classes, in the order the type library lays out their vtables.
#include <windows.h>
#include <oaidl.h>

namespace tessel::server {

struct IBalloonToolTipDual : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE CreateBalloon(IDispatch* parent, BSTR* text, BSTR* title, short* icon, VARIANT* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateTip(IDispatch* parent, BSTR* text, BSTR* title, short* icon, VARIANT* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Active(VARIANT_BOOL* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Active(VARIANT_BOOL value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ParentControl(LONG* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE putref_ParentControl(IDispatch* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Style(LONG* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Style(LONG value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Centered(VARIANT_BOOL* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Centered(VARIANT_BOOL value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Icon(LONG* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Icon(LONG value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ForeColor(LONG* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_ForeColor(LONG value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Title(BSTR* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Title(BSTR value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_BackColor(LONG* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_BackColor(LONG value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_TipText(BSTR* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_TipText(BSTR value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_hWnd(LONG* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE Remove(VARIANT_BOOL* result) = 0;
};

struct ISOSystemDual : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_TotalMemory(LONG* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_AvailableMemory(LONG* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_OSVersion(BSTR* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_OSBuild(float* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_OSPlatform(BSTR* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Processor(LONG* value) = 0;
};

}  // namespace tessel::server
