"""The reminders' file, notices and chime as another process sees them: the notice windows read by
the test helper's dump verb, the sounds' WAV files watched being opened (Wine here has no sound
device, so the open is what shows that a sound was tried)."""
import glob
import os
import subprocess
import wave

from conftest import wait_for, windows_path

NOTICE, MISSED = "TavroClock の予定", "TavroClock の過ぎた予定"
BROKEN = "TavroClock - 予定のファイル"


def roaming(desktop):
    folder = glob.glob(os.path.join(desktop.prefix, "drive_c/users/*/AppData/Roaming"))
    folder = [f for f in folder if "/Public/" not in f]
    assert len(folder) == 1, folder
    return os.path.join(folder[0], "TavroClock")


def event(uid, start, title, alarm="ACTION:DISPLAY", rule=None, snooze=None):
    lines = ["BEGIN:VEVENT", f"UID:{uid}", "DTSTAMP:20261201T000000Z", f"DTSTART:{start}", f"SUMMARY:{title}"]
    lines += [f"RRULE:{rule}"] if rule else []
    lines += [f"X-TAVRO-SNOOZE:{snooze}"] if snooze else []
    lines += ["BEGIN:VALARM", alarm, "TRIGGER:PT0S", "END:VALARM", "END:VEVENT"]
    return lines


def calendar(*events):
    lines = ["BEGIN:VCALENDAR", "VERSION:2.0", "PRODID:-//test//EN"] + [l for e in events for l in e] + ["END:VCALENDAR"]
    return ("\r\n".join(lines) + "\r\n").encode("utf-8")


def silent_wav(path):
    with wave.open(str(path), "wb") as w:
        w.setnchannels(1), w.setsampwidth(2), w.setframerate(8000)
        w.writeframes(b"\0\0" * 1600)


class Opens:
    """inotifywait on files: which of them were opened since it started."""

    def __init__(self, folder, paths):
        self.log = folder / "opens.log"
        self.proc = subprocess.Popen(["inotifywait", "-m", "-e", "open", "--format", "%w", *map(str, paths)],
                                     stdout=open(self.log, "w"), stderr=subprocess.PIPE, text=True)
        assert "Watches established" in self.proc.stderr.readline() + self.proc.stderr.readline()

    def opened(self, path):
        return str(path) in open(self.log).read().split()

    def stop(self):
        self.proc.terminate()
        self.proc.wait(10)


def notices(desktop, caption=NOTICE):
    """[(window, {id: control})] of the visible windows titled caption."""
    return [(w, c) for w, c in desktop.dialogs(caption) if w["visible"] == "1"]


def texts(found):
    return sorted(tuple(c["text"] for c in controls.values()) for _, controls in found)


def press(desktop, window, control):
    left, top = window[0]["client"][:2]
    x, y, w, h = control["rect"]
    desktop.click(left + x + w // 2, top + y + h // 2)


def button(window, text):
    return next(c for c in window[1].values() if c["text"] == text)


def point(desktop, column, row):
    """How bright the decimal point of a calendar cell shows (the clock at (1460, 20), 96 DPI)."""
    left, top = 1460 + int(20 * (2.5 + 2.5 * column) + 33), 20 + int(20 * (4.75 + 2.5 * row) + 39)
    return int(desktop.screenshot()[top : top + 6, left : left + 6].sum(axis=2).max())


def test_notices_tell_once_snooze_once_more_and_a_restart_lists_only_the_missed(desktop, tmp_path):
    alarm, chime = tmp_path / "alarm.wav", tmp_path / "chime.wav"
    silent_wav(alarm), silent_wav(chime)
    folder = roaming(desktop)
    os.makedirs(folder, exist_ok=True)
    ics = os.path.join(folder, "reminders.ics")
    audio = f"ACTION:AUDIO\r\nATTACH:file:///{windows_path(alarm).replace(chr(92), '/')}"
    events = [event("kaigi@test", "20261210T100100", "会議", audio, snooze=5),
              event("shiryo@test", "20261210T100100", "資料送付"),
              event("houkoku@test", "20261210T101500", "報告"),
              event("nippo@test", "20261210T101000", "日報", rule="FREQ=DAILY")]
    with open(ics, "wb") as f:
        f.write(calendar(*events))
    desktop.reg_set({"chime": 15, "chimeQuietFrom": 0, "chimeQuietTo": 0, "chimeSound": windows_path(chime)})
    opens = Opens(tmp_path, [alarm, chime])
    try:
        stamp = desktop.start_moving_clock(tmp_path, "2026-12-10 09:59:50")
        # A first start tells nothing missed; the chime at 10:00, with its own file.
        assert wait_for(lambda: opens.opened(chime), 40), "the chime's sound was not tried"
        assert not opens.opened(alarm) and not notices(desktop) and not notices(desktop, MISSED)
        # December 2026 from Sunday: the 9th has no reminder, the 10th and 11th have (the daily one).
        assert point(desktop, 5, 1) > 400 and point(desktop, 3, 1) < 200, (point(desktop, 3, 1), point(desktop, 5, 1))
        desktop.xdo("mousemove", *map(str, desktop.day_centre(4, 1)))
        tip = wait_for(lambda: [t for t in desktop.tooltips() if "会議" in t], 10)
        assert tip and tip[0].split("\n")[-4:] == ["10:01 会議", "10:01 資料送付", "10:10 日報", "10:15 報告"], tip
        desktop.xdo("mousemove", "1000", "700")

        # 10:01: both notices, stacked, the audio one's file tried, told before they showed.
        found = wait_for(lambda: (lambda n: n if len(n) == 2 else None)(notices(desktop)), 90)
        assert found and texts(found) == [("会議", "2026/12/10 10:01", "5分後にもう一度", "閉じる"),
                                          ("資料送付", "2026/12/10 10:01", "5分後にもう一度", "閉じる")], found
        assert opens.opened(alarm)
        assert desktop.reg_query("remindersTold")[0] == "REG_SZ"
        (a, b) = [w["rect"] for w, _ in found]
        assert a[2] <= b[0] or b[2] <= a[0] or a[3] <= b[1] or b[3] <= a[1], f"notices overlap: {a} {b}"
        assert max(a[2], b[2]) > 1800 and max(a[3], b[3]) > 950, "not at the bottom right"
        assert all(w["topmost"] == "1" and w["foreground"] == "0" for w, _ in found), "took the focus or is not on top"

        # Snooze on the meeting; the other closed with Esc once clicked (which gives it the keys).
        meeting = next(n for n in found if "会議" in texts([n])[0])
        other = next(n for n in found if n is not meeting)
        press(desktop, meeting, button(meeting, "5分後にもう一度"))
        desktop.click(other[0]["client"][0] + 20, other[0]["client"][1] + 20)
        assert wait_for(lambda: [w for w, _ in notices(desktop) if w["foreground"] == "1"], 10), "a click did not reach it"
        desktop.keys("Escape")
        assert wait_for(lambda: not notices(desktop), 10), "snooze or Esc left a notice"

        # Another program adds a reminder for 10:06: picked up, told with the snoozed meeting.
        with open(ics, "wb") as f:
            f.write(calendar(*events, event("tenken@test", "20261210T100600", "点検")))
        stamp.write_text("@2026-12-10 10:05:45\n")
        found = wait_for(lambda: (lambda n: n if len(n) == 2 else None)(notices(desktop)), 60)
        assert found and [t[0] for t in texts(found)] == ["会議", "点検"], texts(notices(desktop))
        assert ("会議", "2026/12/10 10:01", "5分後にもう一度", "閉じる") in texts(found)
        assert os.path.exists(ics) and not os.path.exists(ics + ".bak"), "the file was written without a change"
        assert wait_for(lambda: desktop.reg_query("remindersLastRun") == ("REG_SZ", "20261210T100600"), 10)
        desktop.kill_all()

        # The next day: the missed ones in one window, the daily one once (its latest), none twice.
        stamp = desktop.start_moving_clock(tmp_path, "2026-12-11 10:30:00")
        missed = wait_for(lambda: notices(desktop, MISSED), 60)
        assert missed and len(missed) == 1, missed
        listed = next(c["text"] for c in missed[0][1].values() if c["class"] == "Edit")
        assert listed == "2026/12/10 10:15　報告\\n2026/12/11 10:10　日報", listed
        assert not notices(desktop)
    finally:
        opens.stop()


def test_a_broken_file_is_said_once_and_left_as_it_was(desktop, tmp_path):
    folder = roaming(desktop)
    os.makedirs(folder, exist_ok=True)
    ics = os.path.join(folder, "reminders.ics")
    broken = calendar(event("a@test", "20261210T100200", "会議"))[:-40]  # cut off before its end
    with open(ics, "wb") as f:
        f.write(broken)
    desktop.start("2026-12-10 10:01:40")
    said = wait_for(lambda: desktop.dialogs(BROKEN), 60)
    assert said and len(said) == 1, said
    message = " ".join(c["text"] for c in said[0][1].values())
    assert "予定のファイルを読めません" in message and "AppData\\Roaming\\TavroClock\\reminders.ics" in message, message
    # Past its minute, with the message still up: nothing told, nothing written.
    assert wait_for(lambda: desktop.reg_query("remindersLastRun") == ("REG_SZ", "20261210T100200"), 60, step=2)
    assert open(ics, "rb").read() == broken and sorted(os.listdir(folder)) == ["reminders.ics"]
    assert not notices(desktop) and len(desktop.dialogs(BROKEN)) == 1
