// CBalloonToolTip from JScript: numbers as text, plain assignment of the parent, exceptions.
var failures = 0;
function check(ok, what) { if (!ok) { failures++; WScript.Echo("FAILED: " + what); } }
function thrown(f) { try { f(); } catch (e) { return (e.number >>> 0).toString(16).toUpperCase(); } return "none"; }

var win = new ActiveXObject("TesselTest.Window");
var tip = new ActiveXObject("TesselOCX.CBalloonToolTip");
tip.CreateTip(win, 12345, 678, 3);
check(tip.TipText == "12345" && tip.Title == "678" && tip.Icon == 3, "numbers are taken as text");
tip.ParentControl = win;   // JScript has no Set: the object is still meant
check(tip.ParentControl == win.hWnd, "plain assignment of the parent");

var e;
check((e = thrown(function () { tip.CreateTip(null, "x"); })) == "800A01A8", "null: object required, " + e);
check((e = thrown(function () { tip.ParentControl = 7; })) == "80020005", "a number as parent: type mismatch, " + e);
check((e = thrown(function () { tip.CreateTip(win); })) != "none", "the text is not optional");
check(tip.Remove() === false && tip.hWnd == 0, "Remove returns false");
if (failures == 0) WScript.Echo("ALL PASSED: balloon_tooltip.js");
