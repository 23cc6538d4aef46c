# Makes the files the sample library names: an MP3 tone for every track of
# its audio-file albums and a cover picture for every album that names one.
#
#   MakeSampleMedia.py LIBRARY.mdb MUSIC_FOLDER IMAGE_FOLDER WINDOWS_MUSIC_FOLDER
#   MakeSampleMedia.py --move LIBRARY.mdb FROM_WINDOWS_FOLDER TO_WINDOWS_FOLDER
#
# The second form points a copy of the library at a copy of its music folder
# (a user's profile): track files under FROM name the same files under TO.
#
# Track files are named by the library in Windows form under
# WINDOWS_MUSIC_FOLDER; they are written to the same place under MUSIC_FOLDER.
# Tones are mono 8 kHz at 8 kbit/s (lame), as long as the track says; covers are
# drawn by ImageMagick. Files already there are kept.
import math
import os
import sqlite3
import struct
import subprocess
import sys

RATE = 8000


def tone_wav(seconds, pitch):
    frames = seconds * RATE
    samples = bytearray()
    for i in range(frames):
        level = int(6000 * math.sin(2 * math.pi * pitch * i / RATE))
        samples += struct.pack("<h", level)
    header = struct.pack("<4sI4s4sIHHIIHH4sI", b"RIFF", 36 + len(samples), b"WAVE", b"fmt ", 16, 1, 1, RATE,
                         RATE * 2, 2, 16, b"data", len(samples))
    return header + bytes(samples)


def make_tones(db, music_folder, windows_folder):
    prefix = windows_folder.rstrip("\\").lower() + "\\"
    rows = db.execute("SELECT SoundFile, Minutes, Seconds, Track FROM Tracks WHERE SoundFile IS NOT NULL")
    for sound_file, minutes, seconds, track in rows:
        if not sound_file.lower().startswith(prefix):
            continue
        path = os.path.join(music_folder, *sound_file[len(prefix):].split("\\"))
        if os.path.exists(path):
            continue
        os.makedirs(os.path.dirname(path), exist_ok=True)
        pitch = 220 * 2 ** ((track % 12) / 12.0)
        wav = tone_wav((minutes or 0) * 60 + (seconds or 0) or 1, pitch)
        subprocess.run(["lame", "--quiet", "-m", "m", "-b", "8", "--resample", "8", "-", path], input=wav,
                       check=True)


def make_covers(db, image_folder):
    os.makedirs(image_folder, exist_ok=True)
    for (name,) in db.execute("SELECT ImageFile FROM Albums WHERE ImageFile IS NOT NULL"):
        path = os.path.join(image_folder, name)
        if os.path.exists(path):
            continue
        hue = sum(name.encode()) % 360
        subprocess.run(["convert", "-size", "240x240", "gradient:hsl(%d,60%%,70%%)-hsl(%d,60%%,25%%)" % (hue, hue),
                        "-fill", "hsl(%d,40%%,90%%)" % ((hue + 180) % 360), "-draw", "circle 120,120 120,40",
                        "-fill", "black", "-draw", "circle 120,120 120,108", path], check=True)


def move_music(db, old_folder, new_folder):
    old = old_folder.rstrip("\\") + "\\"
    new = new_folder.rstrip("\\") + "\\"
    db.execute("UPDATE Tracks SET SoundFile = ? || substr(SoundFile, ?) WHERE lower(substr(SoundFile, 1, ?)) = ?",
               (new, len(old) + 1, len(old), old.lower()))
    db.commit()


def main():
    if sys.argv[1] == "--move":
        library, old_folder, new_folder = sys.argv[2:5]
        move_music(sqlite3.connect(library), old_folder, new_folder)
        return
    library, music_folder, image_folder, windows_folder = sys.argv[1:5]
    db = sqlite3.connect(library)
    make_tones(db, music_folder, windows_folder)
    make_covers(db, image_folder)


if __name__ == "__main__":
    main()
