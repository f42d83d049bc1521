// CBalloonToolTip from JScript: by-value arguments, plain assignment of the parent, exceptions.
var failures = 0;
function check(ok, what) { if (!ok) { failures++; WScript.Echo("FAILED: " + what); } }
function hex(n) { return (n >>> 0).toString(16).toUpperCase(); }

var win = new ActiveXObject("TesselTest.Window");
var tip = new ActiveXObject("TesselOCX.CBalloonToolTip");

tip.CreateBalloon(win, "two arguments");
var first = tip.hWnd;
check(first != 0, "CreateBalloon with two arguments builds a window");
check(tip.Title == "" && tip.Icon == 0 && tip.Style == 1, "defaults for title and icon");
check(tip.Active == true, "active after create");

tip.CreateTip(win, "three", "Title");
check(tip.hWnd != first && !win.Exists(first), "CreateTip replaces the window");
check((win.Style(tip.hWnd) & 0x40) == 0, "standard tip");
tip.CreateTip(win, 12345, 678, 3);
check(tip.TipText == "12345" && tip.Title == "678" && tip.Icon == 3, "numbers are taken as text; error icon kept");

tip.ParentControl = win;   // JScript has no Set: the object is still meant
check(tip.ParentControl == win.hWnd, "plain assignment of the parent");

var h = tip.hWnd;
tip.Style = 1;
check(tip.hWnd != h && (win.Style(tip.hWnd) & 0x40) == 0x40, "Style write rebuilds as a balloon");
h = tip.hWnd;
var s = tip.Style, c = tip.Centered, t = tip.TipText;
check(tip.hWnd == h, "reads keep the window");

var caught;
caught = null;
try { tip.CreateBalloon(new ActiveXObject("TesselOCX.SOSystem"), "x"); } catch (e) { caught = e; }
check(caught != null && hex(caught.number) == "80020003", "a parent without hWnd throws member-not-found");
check(caught != null && caught.description == "Object doesn't support this property or method", "with its description");
caught = null;
try { tip.CreateTip(null, "x"); } catch (e) { caught = e; }
check(caught != null && hex(caught.number) == "800A01A8", "null throws object required: " + (caught ? hex(caught.number) : "none"));
caught = null;
try { tip.CreateTip(7, "x"); } catch (e) { caught = e; }
check(caught != null && hex(caught.number) == "80020005", "a number throws type mismatch: " + (caught ? hex(caught.number) : "none"));
caught = null;
try { tip.ParentControl = 7; } catch (e) { caught = e; }
check(caught != null && hex(caught.number) == "80020005", "a number as ParentControl throws type mismatch");
caught = null;
try { tip.CreateTip(win); } catch (e) { caught = e; }
check(caught != null, "the text is not optional");
check(tip.hWnd != 0, "failed calls leave a window in place");

check(tip.Remove() === false, "Remove returns false");
check(tip.hWnd == 0, "Remove forgets the window");
win.Close();
if (failures == 0) WScript.Echo("ALL PASSED: balloon_tooltip.js");
