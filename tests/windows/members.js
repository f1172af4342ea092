// Every member of ctrJornavista by name, as a JScript client sees it: the same
// checks and result lines as members.vbs, compared with members.expected.

function hex8(v) {
  var h = (v >>> 0).toString(16).toUpperCase();
  while (h.length < 8) h = "0" + h;
  return h;
}

// Runs one statement; "ok", or the error number in hex as the engine reports it.
function status(step) {
  try {
    step();
    return "ok";
  } catch (e) {
    return "error " + hex8(e.number);
  }
}

function say(line) {
  WScript.Echo(line);
}

var c = null, f = null, s, t;
say("create: " + status(function () { c = new ActiveXObject("JornavistaControl.ctrJornavista"); }));

// The selected date is text, stored as written.
say("SDate put \"14/11/2003\": " + status(function () { c.SDate = "14/11/2003"; }) +
    ", get \"" + c.SDate + "\"");
say("SDate put \"not a date\": " + status(function () { c.SDate = "not a date"; }) +
    ", get \"" + c.SDate + "\"");
say("SDate put \"\": " + status(function () { c.SDate = ""; }) + ", get length " + c.SDate.length);
// "Grüße €", the same text as members.vbs makes from Windows-1252.
s = "Gr\u00FC\u00DFe \u20AC";
say("SDate put non-ASCII: " + status(function () { c.SDate = s; }) + ", get length " +
    (t = c.SDate).length + ", same " + (t === s));

// The appearance properties keep what they are given.
say("BackColor put 80000005: " + status(function () { c.BackColor = 0x80000005; }) +
    ", get " + hex8(c.BackColor));
say("BackColor put 00FF8040: " + status(function () { c.BackColor = 0xFF8040; }) +
    ", get " + hex8(c.BackColor));
say("ForeColor put 80000008: " + status(function () { c.ForeColor = 0x80000008; }) +
    ", get " + hex8(c.ForeColor));
say("ForeColor put 000000FF: " + status(function () { c.ForeColor = 255; }) +
    ", get " + hex8(c.ForeColor));
say("Enabled put false: " + status(function () { c.Enabled = false; }) + ", get " + c.Enabled);
say("Enabled put true: " + status(function () { c.Enabled = true; }) + ", get " + c.Enabled);
say("BackStyle put 0: " + status(function () { c.BackStyle = 0; }) + ", get " + c.BackStyle);
say("BackStyle put 1: " + status(function () { c.BackStyle = 1; }) + ", get " + c.BackStyle);
say("BorderStyle put 1: " + status(function () { c.BorderStyle = 1; }) + ", get " + c.BorderStyle);
say("BorderStyle put 0: " + status(function () { c.BorderStyle = 0; }) + ", get " + c.BorderStyle);

// The font is held by reference: the same object comes back.
say("StdFont: " + status(function () { f = new ActiveXObject("StdFont"); }));
f.Size = 12;
say("Font putref StdFont: " + status(function () { c.Font = f; }) + ", size as set " +
    (c.Font.Size === f.Size) + ", bold " + c.Font.Bold);
say("Font get is the same object: " + (c.Font === f));
f.Italic = true;
say("Font sees a later change: italic " + c.Font.Italic);

say("Refresh: " + status(function () { c.Refresh(); }));

// Arguments of the wrong type fail the put and leave the value as it was.
say("BackStyle put \"abc\": " + status(function () { c.BackStyle = "abc"; }) + ", get " + c.BackStyle);
say("BackStyle put 70000: " + status(function () { c.BackStyle = 70000; }) + ", get " + c.BackStyle);
say("BorderStyle put \"x\": " + status(function () { c.BorderStyle = "x"; }) + ", get " + c.BorderStyle);
say("Enabled put \"maybe\": " + status(function () { c.Enabled = "maybe"; }) + ", get " + c.Enabled);
say("BackColor put \"red\": " + status(function () { c.BackColor = "red"; }) + ", get " + hex8(c.BackColor));
say("SDate put Null: " + status(function () { c.SDate = null; }) + ", get length " + c.SDate.length +
    ", same " + (c.SDate === s));
say("Font putref a non-font: " + status(function () { c.Font = c; }) + ", same font " + (c.Font === f));
say("Refresh with an argument: " + status(function () { c.Refresh(1); }));
say("NoSuchMember get: " + status(function () { t = c.NoSuchMember; }));

say("members: end");
