#!/usr/bin/env bash
# Plants each fault listed in tests/README.md alone, builds the test program that must catch it,
# runs it and expects it to fail, then puts the source back. Needs a built tree (scripts/test.sh).
#   scripts/planted-faults.sh [name...]     (all faults without names)
set -uo pipefail
. "$(dirname "$0")/common.sh"
cd "$TESSEL_ROOT"

# name | file | perl substitution (perl -0pi -e) | test program
FAULTS=$(cat <<'LIST'
bevel-raised|decor/Bevel.cpp|s/raised_ = value == 2;/raised_ = value != 2;/|tests_decor
kvtext-caption-unmarked|inputs/KvText.cpp|s/(void KvText::SetCaption\(.*?)PropertyChanged\(L"Caption"\);/$1/s|tests_inputs
hatch-brush-leak|host/constituents/Shape.cpp|s/if \(brush\) Fill\(dc, shape_, figure, brush\.get\(\)\);/if (brush) { Fill(dc, shape_, figure, brush.get()); brush.release(); }/|tests_host
kvtextbox-key-order|inputs/KvTextBox.cpp|s/(      \{L"ColorOnFoco".*?\n.*?\n.*?\n)(      \{L"ColorOffFoco".*?\n.*?\n.*?\n)/$2$1/|tests_inputs
shift-tab-forward|host/FormKeys.cpp|s/GetKeyState\(VK_SHIFT\) >= 0\);/true);/|tests_host
twips-truncated|server/contract/Twips.cpp|s/return std::llround\(value\);/return static_cast<int64_t>(value);/|tests_host
tip-colours-back-first|classes/BalloonToolTip.cpp|s/(  if \(settings_\.foreColor != 0\)\n.*?\n)(  if \(settings_\.backColor != 0\)\n.*?\n)/$2$1/|tests_classes
terminate-skipped|host/ControlSite.cpp|s/      control_->Terminate\(\);/      \/\/ control_->Terminate();/|tests_host
backslash-unescaped|host/FormValues.cpp|s/      case L'\\\\': out \+= L"\\\\\\\\"; continue;\n//|tests_host
version-key-left|server/module/Registration.cpp|s/(    if \(!it->name\.empty\(\)\) continue;[^\n]*\n)/$1    if (it->key.size() >= 7 \&\& it->key.compare(it->key.size() - 7, 7, L"VERSION") == 0) continue;\n/|tests_server
keys-reversed|host/FormFileWriter.cpp|s/for \(const auto& \[k, v\] : c\.bag\.Entries\(\)\) WriteEntry/for (auto it = c.bag.Entries().rbegin(); it != c.bag.Entries().rend(); ++it) if (const auto\& [k, v] = *it; true) WriteEntry/|tests_host
timer-window-left|host/constituents/Timer.cpp|s/(    SetWindowLongPtrW\(window_\.get\(\), GWLP_USERDATA, 0\);\n)/$1    window_.release();\n/|tests_host
tab-stop-on-disabled|host/FormTabOrder.cpp|s/ \x7c\x7c !e\.enabled//|tests_host
tab-into-hidden-frame|host/FormTabOrder.cpp|s/    s = Site\(e\.container\);/    return true;/|tests_host
option-group-every-member|host/FormTabOrder.cpp|s/      if \(it->second != site\) continue;/      (void)it;/|tests_host
focus-from-the-request|host/FormHooks.cpp|s/if \(msg == WM_SETFOCUS\)/if (msg == WM_KILLFOCUS)/|tests_host
focus-watch-left|host/FormHooks.cpp|s/      SetWindowLongPtrW\(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>\(Watched::Find\(w\)->previous\)\);\n      Watched::Erase\(w\);\n//|tests_host
option-arrows-ignored|host/FormKeys.cpp|s/return MoveInOptionGroup\(/return false \&\& MoveInOptionGroup(/|tests_button
field-text-at-creation|host/constituents/TextBox.cpp|s/L"EDIT", L"",/L"EDIT", text_.c_str(),/|tests_inputs
kvtextbox-focus-green|inputs/KvTextBox.cpp|s/constexpr OleColor kRed = 0x0000FF;/constexpr OleColor kRed = 0x00FF00;/|tests_inputs
kvfundo-hot-unmarked|inputs/KvFundo.cpp|s/(  colorHot_ = color;\n)  PropertyChanged\(L"ColorHot"\);\n/$1/|tests_inputs
keypress-before-case|inputs/KvTextBox.cpp|s/(  Step\(L"force the key's case".*?\n)(  Raise\(events\.KeyPress, keyAscii\);\n)/$2$1/|tests_inputs
hover-timer-runs-on|inputs/KvFundo.cpp|s/(if \(state_ == kHot\) SetState\(kNormal\);\n  \}\);)\n  Step\(L"stop hover timer"[^\n]*/$1/|tests_inputs
link-keys-ignored|inputs/KvFundo.cpp|s/  if \(keyAscii == L' '\) LinkClick\(\);/  (void)keyAscii;/|tests_inputs
link-address-narrowed|inputs/KvFundo.cpp|s/  if \(AnsiHolds\(url_\)\)\n/  if (true)\n/|tests_inputs
balloon-loses-icon|classes/BalloonToolTip.cpp|s/settings_\.icon = settings_\.style == static_cast<int32_t>\(ToolStyle::Balloon\) \? icon : StandardTipIcon\(icon\);/settings_.icon = StandardTipIcon(icon);/|tests_classes
standard-tip-info-icon|classes/BalloonToolTip.h|s/icon <= 3 && icon != 1/icon <= 3/|tests_classes
rebuilt-tip-active|classes/BalloonToolTip.cpp|s/(  Build\(\);\n)  SetActive\(active\);/$1  SetActive(true \x7c\x7c active);/|tests_classes
factory-per-request|server/module/ClassFactory.cpp|s/factory = FactoryFor\(\*entry\);/factory = new ClassFactory(*entry);/|tests_classes
button-capalign-default|button/ButtonPersistence.cpp|s/\{L"CapAlign", BagType::Int32, BagValue\(int32_t\{2\}\)/{L"CapAlign", BagType::Int32, BagValue(int32_t{0})/|tests_button
button-capstyle-unmarked|button/ButtonProperties.cpp|s/  s_.captionStyle = style;\n  PropertyChanged\(L"CapStyle"\);/  s_.captionStyle = style;/|tests_button
button-hover-key-order|button/ButtonPersistence.cpp|s/(        \{L"cFHover".*?\}\},\n)(.*?"cBhover".*?\}\},\n)/$2$1/s|tests_button
button-outline-brush-leak|button/ButtonStyle.cpp|s/(    if \(dc\) FrameRgn\(dc.get\(\), chosen, brush.get\(\), 1, 1\);\n  \})/$1\n  brush.release();/|tests_button
button-bevel-corner|button/draw/Bevel.cpp|s/p\[15\] = \{W - 1, H - 1\};/p[15] = {W - 2, H - 1};/|tests_button
button-doubleclick-late|button/ButtonInput.cpp|s/  Raise\(events.DoubleClick, button\);\n  if \(s_.lastButton == 1\) \{\n(.*?)\n(.*?)\n(.*?)\n/  if (s_.lastButton == 1) {\n$1\n$2\n  Raise(events.DoubleClick, button);\n$3\n/s|tests_button
button-shift-no-reversal|button/draw/ShiftColor.cpp|s/amount = amount == 0 \? int16_t\{64\} : static_cast<int16_t>\(-amount\);/amount = amount == 0 ? int16_t{64} : amount;/|tests_button
button-odd-band-painted|button/draw/Gradient.cpp|s/return \{2, size \/ 2\};/return {2, (size + 1) \/ 2};/|tests_button
button-dotted-pen-leak|button/draw/Bevel.cpp|s/styled_ = std::move\(pen\);/pen.release();/|tests_button
button-pressed-caption-low|button/draw/CaptionAndPicture.cpp|s/OffsetRect\(&caption, dx, 1\);/OffsetRect(&caption, dx, 2);/|tests_button
button-hover-timer-kept|button/HoverTimer.cpp|s/(return;\n)  KillTimer\(hWnd\(\), kHoverTimerId\);\n/$1/|tests_button
button-options-stay-latched|button/OptionGroup.cpp|s/if \(other && other != this\) other->SetValue\(false\);/(void)other;/|tests_button
button-first-ampersand|button/ButtonProperties.cpp|s/caption.rfind\(L.&.\)/caption.find(L'&')/|tests_button
button-bottom-rows-flipped|button/PictureCache.cpp|s/rows.bottomUp = StartsAtTheBottom\(bitmap, rows.colour, rows.width, rows.height\);/rows.bottomUp = false \&\& StartsAtTheBottom(bitmap, rows.colour, rows.width, rows.height);/|tests_button
button-outline-frame-lost|button/ButtonStyle.cpp|s/  if \(!chosen\) return;/  return;/|tests_button
button-latched-classic-grey|button/draw/ClassicRenderer.cpp|s/(default:  \/\/ latched\n        c\[7\] = c\[8\] = )light;/${1}kShadow;/|tests_button
button-sunken-ring-reversed|button/draw/FaceClip.cpp|s/DrawGradient\(dc, gradTopBottom, W, H, 0x808080, 0xFFFFFF\)/DrawGradient(dc, gradTopBottom, W, H, 0xFFFFFF, 0x808080)/|tests_button
button-mask-nibble-shifted|button/PictureCache.cpp|s/<< \(x % 8 \? 0 : 4\)/<< 4/|tests_button
button-mask-byte-folded|button/PictureCache.cpp|s/mask\[x \/ 8 \+ 1\] = kReversed\[flags >> 8\];/mask[x \/ 8] \x7c= kReversed[flags >> 8];/|tests_button
focus-cue-not-followed|button/ButtonInput.cpp|s/void ButtonStyle::KeyboardCuesChanged\(\) \{ ShowFocusCue\(hWnd\(\) && GetFocus\(\) == hWnd\(\)\); \}/void ButtonStyle::KeyboardCuesChanged() {}/|tests_button
cues-not-passed-down|host/KeyboardCues.cpp|s/    SendMessageW\(child, WM_UPDATEUISTATE, wp, lp\);/    (void)child;/|tests_button
frame-tab-preset-blue|frames/FramePresets.cpp|s/\{kWhite, RGB\(192, 0, 0\), RGB\(192, 0, 0\)/{kWhite, RGB(0, 0, 192), RGB(192, 0, 0)/|tests_frames
frame-gold-theme-off|frames/FrameThemes.cpp|s/RGB\(217, 172, 1\)/RGB(217, 172, 10)/|tests_frames
frame-caption-marks-form|frames/TzFrames.cpp|s/p_\.caption = value;\n  Redraw\(\);/p_.caption = value;\n  Changed(L"Caption");/|tests_frames
frame-line-pen-leak|frames/FramePrimitives.cpp|s/(void DrawLine\(.*?\n  DcPen pen\(dc\);\n)  pen\.Color\(color\);/$1  SelectObject(dc, CreatePen(PS_SOLID, 1, static_cast<COLORREF>(color)));/s|tests_frames
frame-nested-left-enabled|frames/TzFrames.cpp|s/      control->SetEnabled\(value\);/      if (control->IsContainer()) continue;\n      control->SetEnabled(value);/|tests_frames
frame-region-every-redraw|frames/FrameRegion.cpp|s/if \(wanted == held \x7c\x7c /if (/|tests_frames
frame-tab-corner-region-leak|frames/TabStyles.cpp|s/CombineRgn\(region\.get\(\), region\.get\(\), rounded\.get\(\), RGN_AND\)/CombineRgn(region.get(), region.get(), rounded.release(), RGN_AND)/|tests_frames
ole-event-row-dropped|olehost/ControlEvents.cpp|s/ TESSEL_ON\(B, OLESetData\),//|tests_olehost
ole-enter-before-exit|olehost/FocusWatch.cpp|s/(  for \(const Listening& l : told\)\n.*?\n)(  for \(FocusListener\* listener : entered\)\n.*?\n)/$2$1/|tests_olehost
ole-colour-high-bits|olehost/DualInterfaces.cpp|s/static_cast<OLE_COLOR>\(v\.lVal\)/static_cast<OLE_COLOR>(v.lVal \& 0xFFFFFF)/|tests_olehost
ole-look-unheard|olehost/OleControl.h|s/bool ContainerPassesSystemChanges\(\) const override \{ return false; \}/bool ContainerPassesSystemChanges() const override { return true; }/|tests_olehost
ole-look-not-passed-in|olehost/OleControlObject.cpp|s/if \(HWND control = self->hosted_->hWnd\(\)\) SendMessageW\(control, msg, wp, lp\);/(void)self;/|tests_olehost
ole-look-stale-when-drawn|host/UserControlWindow.cpp|s/\(msg == WM_PAINT \x7c\x7c msg == WM_PRINTCLIENT\)/msg == WM_PAINT/|tests_olehost
ole-look-remade-per-message|host/UserControlWindow.cpp|s/if \(const uint32_t look = RefreshSystemLook\(\); look != lookSeen_\) SystemLookChanged\(look\);\n    return 0;/SystemLookChanged(RefreshSystemLook());\n    return 0;/|tests_olehost
ole-overflow-as-mismatch|olehost/VariantValues.cpp|s/  if \(hr == DISP_E_OVERFLOW\) throw ValueOverflow\(\);\n//|tests_olehost
ole-narrowing-not-overflow|olehost/OleControlDispatch.cpp|s/code = CTL_E_OVERFLOW;/code = CTL_E_INVALIDPROPERTYVALUE;/|tests_olehost
ole-own-rect-unoffered|olehost/OleControlObject.cpp|s/  OfferOwnRect\(\);\n  return S_OK;/  return S_OK;/|tests_olehost
ole-extent-as-told|olehost/OleControlObject.cpp|s/  \*size = OwnExtent\(\);/  *size = extent_;/|tests_olehost
ole-object-window-unnamed|olehost/OleControlObject.cpp|s/if \(HWND control = self->hosted_->hWnd\(\)\) return SendMessageW\(control, msg, wp, lp\);/(void)self;/|tests_olehost
classes-left-registered|server/module/Module.cpp|s/        tessel::UnregisterModuleClasses\(\);\n//|tests_olehost
accessible-proxy-left-connected|host/AccessibleObject.cpp|s/  CoDisconnectObject\(static_cast<IAccessible\*>\(object\), 0\);/  CoLockObjectExternal(static_cast<IAccessible*>(object), FALSE, TRUE);/|tests_inputs
hover-end-untold|button/HoverTimer.cpp|s/  AccessibleChanged\(\);  \/\/ the timer's tick[^\n]*\n//|tests_inputs
move-forgets-focus|host/AccessibleEvents.cpp|s/focused = \(seen->state & STATE_SYSTEM_FOCUSED\) != 0;/focused = false;/|tests_inputs
font-fixed-resolution|server/contract/Font.cpp|s/\n                      ScreenDpiY\(\)\};/ 96};/|tests_look
edit-keeps-old-font|host/constituents/TextBox.cpp|s/if \(edit_ && CurrentFont\(\) != appliedFont_\) ApplyFont\(false\);/(void)0;/|tests_look
picture-box-unscaled|button/CaptionLayout.cpp|s/PixelsForScreen\(code\)/code/|tests_look
icon-image-ignored|server/contract/IconImage.cpp|s/if \(picture\.Kind\(\) != PictureKind::Icon \x7c\x7c side <= 0\) return \{\};/return {};/|tests_look
figures-unbounded|host/PixelEdges.h|s/std::clamp<int64_t>\(pixels, kLowestPixelEdge, kHighestPixelEdge\)/pixels/|tests_soak
images-unbounded|server/contract/ImageLimits.h|s/kSide = 16384, kArea = 7680 \* 4320/kSide = 0x7fffffff, kArea = 0x7fffffff/|tests_soak
images-whole-window|server/contract/ImageLimits.h|s/if \(window && \(width > kWholeImageSide/if (false \&\& window \&\& (width > kWholeImageSide/|tests_soak
paint-buffer-whole-window|host/SurfaceWindow.cpp|s/if \(area\.right > kWholeImageSide \x7c\x7c area\.bottom > kWholeImageSide\) \{/if (false) {/|tests_soak
frame-moved-into-view-undrawn|host/SurfaceDrawing.cpp|s/  ReleaseImage\(\);\n  ImageLost\(\);/  (void)0;/|tests_soak
button-moved-into-view-undrawn|button/ButtonStyle.cpp|s/if \(dc && RemakeOutgrownBuffer/if (false \&\& RemakeOutgrownBuffer/|tests_soak
disabled-icon-unbounded|frames/DisabledPicture.cpp|s/!IntersectRect\(&shown, &whole, &clip\)/!IntersectRect(\&shown, \&whole, \&whole)/|tests_soak
frame-sizes-unscaled|frames/FrameRedraw.cpp|s/PixelsForScreen\(p_\.textBoxHeight\)/p_.textBoxHeight/g; s/PixelsForScreen\(p_\.iconSize\)/p_.iconSize/g|tests_frames.dpi144
LIST
)

trap tessel_down EXIT
tessel_display_up
tessel_wine_up "$TESSEL_BUILD" >/dev/null 2>&1

caught=0 missed=0 failed=0
while IFS='|' read -r name file subst program; do
  [ -z "$name" ] && continue
  if [ $# -gt 0 ] && ! printf '%s\n' "$@" | grep -qx "$name"; then continue; fi
  cp "$file" "$file.unplanted"
  perl -0pi -e "$subst" "$file"
  if cmp -s "$file" "$file.unplanted"; then
    say "$name: the substitution no longer applies to $file"; failed=$((failed + 1))
  elif ! cmake --build "$TESSEL_BUILD" -j "$TESSEL_JOBS" --target "${program%%.dpi*}" >"$TESSEL_BUILD/planted-$name.log" 2>&1; then
    say "$name: $program does not build with the fault (see build/planted-$name.log)"; failed=$((failed + 1))
  elif (cd "$TESSEL_BUILD" && if [[ $program == *.dpi* ]]; then  # the ctest entry at that resolution
          timeout 300 ctest -R "^${program//./\\.}\$" --output-on-failure >>"planted-$name.log" 2>&1
        else timeout 300 ./wine-run "./$program.exe" --gtest_brief=1 >>"planted-$name.log" 2>&1; fi); then
    say "$name: MISSED, $program passes"; missed=$((missed + 1))
  else
    say "$name: caught by $(grep -m3 -o 'FAILED  \] [A-Za-z0-9_./]*' "$TESSEL_BUILD/planted-$name.log" | cut -c11- | paste -sd' ')"
    caught=$((caught + 1))
  fi
  mv "$file.unplanted" "$file"
  touch "$file"
done <<<"$FAULTS"
say "planted faults: $caught caught, $missed missed, $failed not planted"
[ "$missed" -eq 0 ] && [ "$failed" -eq 0 ]
