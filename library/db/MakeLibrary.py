# Makes a library file of fictional albums, for samples, tests and benchmarks:
#
#   MakeLibrary.py out.mdb [--albums N] [--tracks N] [--seed N]
#                  [--changers CAPACITY,...|none] [--audio-share F]
#                  [--music-folder PATH] [--covers F]
#
# Discs sit in the changers (one capacity per changer, slots 1 to capacity,
# one disc a slot); the audio-share of the albums are audio-file albums of the
# MP3 player whose tracks name files under the music folder (a Windows path).
# The tracks are spread over the albums, every album keeping at least one.
# With --covers, that share of the albums names a cover image in the image
# directory, drawn by whoever ships the library.
#
# Rows are what the program itself writes, so that loading the file changes
# nothing: disc ids computed from the track lengths as the program computes
# them, audio albums' ids drawn as the program draws them, empty texts as NULL,
# unset dates as 0. Texts are ASCII, put together from the word lists below.
# The same options write the same file byte for byte.
import argparse
import datetime
import os
import random
import sys

sys.dont_write_bytecode = True  # no cache beside the sources
import MakeTemplate  # noqa: E402  (the one schema)

MP3_PLAYER = 1001
MAX_DISC_TRACKS = 99
MAX_TRACKS = 0xFFFF  # more, and the program takes the row for damaged
LEAD_IN_FRAMES = 150
FRAMES_PER_SECOND = 75
MEMO_LENGTH = 13  # what every changer keeps of a disc memo
GROUPS = 10  # changer groups 1-10
RATING_RANGE = 20  # the rating sliders run from -20 to 20

OLE_EPOCH = datetime.datetime(1899, 12, 30)
FIRST_ADDED = datetime.datetime(1998, 1, 1)
LAST_DAY = datetime.datetime(2025, 12, 31, 23, 59, 59)
FIRST_RELEASE_YEAR = 1955

# The weights of the album id, as the program has them.
ID_WEIGHTS = ("1000001100001010001111001000101100111010100111110100001110001001"
              "001101101011011110110001101001011101110011001010101111111000000")
ID_ROUNDS = 8
# Per round, the positions whose weight is 1.
ID_TERMS = [[i for i in range(len(ID_WEIGHTS)) if ID_WEIGHTS[(r + i) % len(ID_WEIGHTS)] == "1"]
            for r in range(ID_ROUNDS)]

UNSAFE_FILE_CHARS = '/\\.?$*,!:<>"'

# ---- words ----

FIRST_NAMES = (
    "Ada", "Bram", "Cleo", "Dario", "Edda", "Fenn", "Greta", "Hollis", "Ines", "Jasper", "Kaja", "Lorcan",
    "Mira", "Nils", "Odessa", "Pim", "Quinn", "Rosalind", "Soren", "Tamsin", "Ulla", "Vito", "Wren", "Yusuf",
    "Zelda", "Anouk", "Bastian", "Corin", "Delphine", "Emrys", "Flavia", "Gideon", "Hester", "Ivo", "Juno",
)
LAST_NAMES = (
    "Abernethy", "Brightwater", "Calloway", "Dunmore", "Elsworth", "Fairweather", "Galloway", "Holloway",
    "Ingram", "Jarrow", "Kettleby", "Lindqvist", "Marchetti", "Nightingale", "Oakhurst", "Pembry", "Quarles",
    "Rainsford", "Sandoval", "Thackeray", "Underhill", "Varga", "Whitlock", "Yardley", "Zellner", "Ashdown",
    "Birchall", "Castellan", "Deverell", "Ellery", "Fontaine", "Greaves", "Hartigan", "Iveson", "Kestrel",
)
ADJECTIVES = (
    "Amber", "Hollow", "Quiet", "Copper", "Paper", "Distant", "Silver", "Restless", "Crooked", "Gentle",
    "Burning", "Frozen", "Borrowed", "Northern", "Hidden", "Painted", "Drifting", "Patient", "Salt", "Glass",
    "Wooden", "Midnight", "Sleepless", "Faded", "Bright", "Lonesome", "Wandering", "Tangled", "Velvet", "Iron",
)
NOUNS = (
    "Lantern", "Harbor", "Sparrow", "Engine", "Orchard", "Tide", "Kite", "Meadow", "Compass", "Window",
    "River", "Ember", "Letter", "Mirror", "Garden", "Signal", "Bridge", "Feather", "Island", "Station",
    "Thunder", "Ladder", "Candle", "Horizon", "Anchor", "Canyon", "Shadow", "Whistle", "Lighthouse", "Valley",
)
PLURALS = (
    "Lanterns", "Harbors", "Sparrows", "Engines", "Orchards", "Tides", "Kites", "Foxes", "Comets", "Owls",
    "Pilots", "Ferries", "Chimneys", "Magpies", "Sailors", "Violets", "Lamplighters", "Weathervanes",
)
PLACES = (
    "Ashford", "Bellhaven", "Corriemoor", "Dunvale", "Eastwick Pier", "Fallowmere", "Glenross", "Highcliff",
    "Kingsferry", "Larkspur Hall", "Millbrook", "Northgate", "Oldcastle", "Port Avery", "Redmarsh",
    "Saltcombe", "Thornbury", "Westmere",
)
NUMBERS = ("Two", "Three", "Five", "Seven", "Nine", "Eleven", "Twelve", "Forty")
VERBS = (
    "Chasing", "Waiting for", "Leaving", "Finding", "Burning", "Crossing", "Counting", "Dreaming of",
    "Calling", "Holding", "Losing", "Building", "Following", "Remembering", "Mending",
)
INSTRUMENTS = (
    "guitar", "piano", "double bass", "drums", "cello", "trumpet", "accordion", "organ", "violin", "clarinet",
)
# Keywords the program knows from its built-in list: a genre and a few traits.
GENRES = (
    "rock", "pop", "jazz", "blues", "folk", "classical", "country", "electronic", "world", "reggae",
    "soundtrack", "metal", "dance", "alternative", "house", "ska",
)
TRAITS = ("live", "acoustic", "female", "male", "british", "american", "european")
LYRIC_WORDS = (
    "the night", "your hand", "the road", "a letter", "the river", "my heart", "the rain", "the light",
    "an old song", "the harbor", "the morning", "the fire", "the wind", "a stranger", "the sea",
)
LYRIC_VERBS = ("carries", "remembers", "follows", "waits for", "calls", "holds", "leaves", "finds")


def person(rng):
    return "%s %s" % (rng.choice(FIRST_NAMES), rng.choice(LAST_NAMES))


ARTIST_FORMS = (
    person,
    lambda rng: person(rng) + " Band",
    lambda rng: "The %s %s" % (rng.choice(ADJECTIVES), rng.choice(PLURALS)),
    lambda rng: "%s & the %s" % (person(rng), rng.choice(PLURALS)),
    lambda rng: "%s %s" % (rng.choice(ADJECTIVES), rng.choice(NOUNS)),
    lambda rng: "%s Quartet" % rng.choice(LAST_NAMES),
    lambda rng: "%s Ensemble" % rng.choice(PLACES),
)
TITLE_FORMS = (
    lambda rng: "%s %s" % (rng.choice(ADJECTIVES), rng.choice(NOUNS)),
    lambda rng: "The %s of %s" % (rng.choice(NOUNS), rng.choice(PLACES)),
    lambda rng: "Songs for %s" % rng.choice(PLURALS),
    lambda rng: "%s %s" % (rng.choice(VERBS), rng.choice(PLURALS)),
    lambda rng: "Live at %s" % rng.choice(PLACES),
    lambda rng: "%s, Vol. %d" % (rng.choice(NOUNS), rng.randint(1, 4)),
    lambda rng: "%s %s" % (rng.choice(NUMBERS), rng.choice(PLURALS)),
    lambda rng: "Nights in %s" % rng.choice(PLACES),
    lambda rng: rng.choice(PLACES),
    lambda rng: "%s and the %s" % (rng.choice(NOUNS), rng.choice(NOUNS)),
)
TRACK_FORMS = (
    lambda rng: "%s the %s" % (rng.choice(VERBS), rng.choice(NOUNS)),
    lambda rng: "%s %s" % (rng.choice(ADJECTIVES), rng.choice(NOUNS)),
    lambda rng: "%s Road" % rng.choice(PLACES),
    lambda rng: "The %s Song" % rng.choice(NOUNS),
    lambda rng: "%s (%s Mix)" % (rng.choice(NOUNS), rng.choice(ADJECTIVES)),
    lambda rng: "%s in %s" % (rng.choice(NOUNS), rng.choice(PLACES)),
    lambda rng: "Song for %s" % rng.choice(FIRST_NAMES),
)
NOTE_FORMS = (
    lambda rng, a: "Recorded at %s in %d." % (rng.choice(PLACES), rng.randint(FIRST_RELEASE_YEAR, LAST_DAY.year)),
    lambda rng, a: "%s on %s." % (person(rng), rng.choice(INSTRUMENTS)),
    lambda rng, a: "Bought at the %s record fair." % rng.choice(PLACES),
    lambda rng, a: "The sleeve is signed by %s." % a,
    lambda rng, a: "Lent to %s, came back with a scratch on track %d." % (rng.choice(FIRST_NAMES),
                                                                          rng.randint(1, 9)),
)


def lyrics(rng):
    stanzas = []
    for _ in range(rng.randint(2, 4)):
        lines = ["%s %s %s" % (rng.choice(LYRIC_WORDS).capitalize(), rng.choice(LYRIC_VERBS),
                               rng.choice(LYRIC_WORDS)) for _ in range(4)]
        stanzas.append("\r\n".join(lines))
    return "\r\n\r\n".join(stanzas)


# ---- values as the program keeps them ----

def ole_date(moment):
    return (moment - OLE_EPOCH).total_seconds() / 86400


def moment_between(rng, first, last):
    return first + datetime.timedelta(seconds=rng.randrange(int((last - first).total_seconds()) + 1))


def safe_file_name(text):
    return "".join(c for c in text if c not in UNSAFE_FILE_CHARS).strip(" ")


def album_id(seconds):
    """The id of an album whose tracks last these whole seconds."""
    n = len(seconds)
    weights = len(ID_WEIGHTS)
    values = [seconds[i % n] >> 8 if (i // n) % 2 else seconds[i % n] for i in range(weights)]
    return "".join("%02X" % (sum(values[i] for i in terms) % 256) for terms in ID_TERMS)


def changer_id(album_seconds, seconds):
    """The disc-database id, in whole seconds."""
    total = sum(seconds)
    start = album_seconds - total
    checksum = 0
    for length in seconds:
        checksum += sum(int(d) for d in str(start))
        start += length
    return ((checksum % 255) << 24 | total << 8 | len(seconds)) & 0xFFFFFFFF


def hex_id(value):
    return "%08X" % value if value else None


def set_length(row, frames):
    row["Minutes"], rest = divmod(frames, 60 * FRAMES_PER_SECOND)
    row["Seconds"], row["Frames"] = divmod(rest, FRAMES_PER_SECOND)


def new_record():
    """Every number and date as the program writes an empty record; texts NULL."""
    row = {name: 0 for name, kind in MakeTemplate.SHARED if kind in ("INTEGER", "YESNO")}
    row.update({name: 0.0 for name, kind in MakeTemplate.SHARED if kind == "DATETIME"})
    row["Group"] = -1
    return row


# ---- the library ----

class LibraryMaker:
    def __init__(self, options):
        self.rng = random.Random(options.seed)
        self.options = options
        self.ids = set()
        self.names = set()

    def track_counts(self, audio):
        """options.tracks spread over the albums, at least one each."""
        rng, count = self.rng, len(audio)
        base, extra = divmod(self.options.tracks, count)
        counts = [base + 1 if i < extra else base for i in range(count)]
        rng.shuffle(counts)
        caps = [MAX_TRACKS if a else MAX_DISC_TRACKS for a in audio]
        for _ in range(count):
            a, b = rng.randrange(count), rng.randrange(count)
            most = min(counts[a] - 1, caps[b] - counts[b], base // 2)
            moved = rng.randint(0, most) if most > 0 else 0
            counts[a] -= moved
            counts[b] += moved
        for n, cap in zip(counts, caps):
            if n > cap:
                sys.exit("MakeLibrary: %d tracks on an album that holds at most %d" % (n, cap))
        return counts

    def slots(self, discs):
        places = [(player, slot) for player, capacity in enumerate(self.options.changers)
                  for slot in range(1, capacity + 1)]
        if discs > len(places):
            sys.exit("MakeLibrary: %d discs do not fit in changers of %d slots" % (discs, len(places)))
        return self.rng.sample(places, discs)

    def make(self):
        o, rng = self.options, self.rng
        audio_count = round(o.albums * o.audio_share)
        audio_set = set(rng.sample(range(o.albums), audio_count))
        audio = [i in audio_set for i in range(o.albums)]
        counts = self.track_counts(audio) if o.albums else []
        places = iter(self.slots(o.albums - audio_count))
        albums, tracks = [], []
        for is_audio, count in zip(audio, counts):
            album, rows = self.album(count, None if is_audio else next(places))
            albums.append(album)
            tracks.extend(rows)
        return albums, tracks

    def names_of_album(self):
        """A (artist, title) pair no other album has; compilations have many artists."""
        rng = self.rng
        while True:
            compilation = rng.random() < 0.05
            artist = "Various Artists" if compilation else rng.choice(ARTIST_FORMS)(rng)
            title = rng.choice(TITLE_FORMS)(rng)
            if (artist, title) not in self.names:
                self.names.add((artist, title))
                return artist, title, compilation

    def album(self, count, place):
        rng = self.rng
        artist, title, compilation = self.names_of_album()
        album = new_record()
        album.update(Title=title, Artist=artist)
        added = moment_between(rng, FIRST_ADDED, LAST_DAY)
        album["DateAdded"] = ole_date(added)
        if rng.random() < 0.85:
            year = rng.randint(FIRST_RELEASE_YEAR, added.year)
            album["DateReleased"] = ole_date(datetime.datetime(year, 1, 1))
        rows = [self.track(compilation) for _ in range(count)]
        if place is None:
            self.audio_album(album, rows, added)
        else:
            self.disc(album, rows, place)
        self.album_texts(album)
        self.plays(album, rows, added)
        for number, row in enumerate(rows, 1):
            row.update(ZYMID=album["ZYMID"], Track=number)
        album["Tracks"] = count
        return album, rows

    def track(self, compilation):
        rng = self.rng
        row = new_record()
        row["Title"] = rng.choice(TRACK_FORMS)(rng)
        if compilation:
            row["Artist"] = rng.choice(ARTIST_FORMS)(rng)
        if rng.random() < 0.05:
            row["Keywords"] = rng.choice(TRAITS)
        if rng.random() < 0.05:
            row["Lyrics"] = lyrics(rng)
        if rng.random() < 0.01:
            row["NeverPlay"] = 1
        if rng.random() < 0.05:
            row["Rating%d" % rng.randint(1, 4)] = rng.randint(-RATING_RANGE, RATING_RANGE)
        return row

    def length(self):
        rng = self.rng
        return rng.randint(600, 1500) if rng.random() < 0.05 else rng.randint(90, 420)

    def disc(self, album, rows, place):
        """Lengths in whole seconds as a changer reports them; the id the
        lengths give, drawn again in the rare case another disc has it."""
        while True:
            seconds = [self.length() for _ in rows]
            zym_id = album_id(seconds)
            if zym_id not in self.ids:
                break
        for row, length in zip(rows, seconds):
            set_length(row, length * FRAMES_PER_SECOND)
        frames = sum(seconds) * FRAMES_PER_SECOND + LEAD_IN_FRAMES + self.rng.randrange(FRAMES_PER_SECOND)
        set_length(album, frames)
        self.take_id(album, zym_id)
        album["CDDBID"] = album["SonyID"] = hex_id(changer_id(frames // FRAMES_PER_SECOND, seconds))
        album["Player"], album["Position"] = place
        album["LocationValid"] = 0 if self.rng.random() < 0.03 else 1
        self.disc_texts(album)

    def disc_texts(self, album):
        rng = self.rng
        if rng.random() < 0.3:
            album["MemoText"] = album["Title"][:MEMO_LENGTH]
        if rng.random() < 0.1:
            album["CDText"] = "%s / %s" % (album["Artist"], album["Title"])
        if rng.random() < 0.1:
            album["Group"] = rng.randint(1, GROUPS)

    def audio_album(self, album, rows, added):
        """Tracks added from files one after the other, names lower-cased as
        the program stores a dropped file's path."""
        rng, folder = self.rng, self.options.music_folder.rstrip("\\")
        names = (safe_file_name(album["Artist"]), safe_file_name(album["Title"]))
        total = 0
        for number, row in enumerate(rows, 1):
            frames = self.length() * FRAMES_PER_SECOND + rng.randrange(FRAMES_PER_SECOND)
            set_length(row, frames)
            total += frames
            track_file = "%02d %s.mp3" % (number, safe_file_name(row["Title"]))
            row["SoundFile"] = folder + "\\" + "\\".join(names + (track_file,)).lower()
            row["DateAdded"] = ole_date(added + datetime.timedelta(seconds=number))
            row["DateReleased"] = album["DateReleased"]
        set_length(album, total)
        seconds = [r["Minutes"] * 60 + r["Seconds"] for r in rows]
        self.take_id(album, self.unique_audio_id())
        album["SonyID"] = hex_id(changer_id(total // FRAMES_PER_SECOND, seconds))
        album.update(Player=MP3_PLAYER, Position=0, LocationValid=1)

    def unique_audio_id(self):
        """Four draws of 0-32767, as the program makes an audio album's id."""
        while True:
            zym_id = "".join("%04X" % self.rng.randrange(0x8000) for _ in range(4))
            if zym_id not in self.ids:
                return zym_id

    def take_id(self, album, zym_id):
        self.ids.add(zym_id)
        album["ZYMID"] = zym_id

    def album_texts(self, album):
        rng = self.rng
        words = [rng.choice(GENRES)] + rng.sample(TRAITS, rng.randint(0, 2))
        album["Keywords"] = " ".join(words)
        if rng.random() < 0.2:
            notes = [rng.choice(NOTE_FORMS)(rng, album["Artist"]) for _ in range(rng.randint(1, 3))]
            album["Notes"] = "\r\n".join(notes)
        if rng.random() < 0.05:
            album["URL"] = "http://www.example.com/%s" % safe_file_name(album["Artist"]).lower().replace(" ", "-")
        if rng.random() < 0.25:
            for rating in rng.sample(range(1, 5), rng.randint(1, 4)):
                album["Rating%d" % rating] = rng.randint(-RATING_RANGE, RATING_RANGE)
        if rng.random() < 0.005:
            album["NeverPlay"] = 1
        if rng.random() < self.options.covers:
            album["ImageFile"] = safe_file_name("%s - %s" % (album["Artist"], album["Title"])) + ".jpg"

    def plays(self, album, rows, added):
        """The album counts every play and every second of its tracks."""
        rng = self.rng
        if rng.random() < 0.3:
            return
        last = 0.0
        for row in rows:
            times = rng.choice((0, 0, 0, 1, 1, 2, 3, 5, 8, 13))
            if times == 0:
                continue
            seconds = row["Minutes"] * 60 + row["Seconds"]
            row["TimesPlayed"] = times
            row["TimePlayed"] = int(times * seconds * rng.uniform(0.6, 1.0))
            row["DateLastPlayed"] = ole_date(moment_between(rng, added, LAST_DAY))
            album["TimesPlayed"] += times
            album["TimePlayed"] += row["TimePlayed"]
            last = max(last, row["DateLastPlayed"])
        album["DateLastPlayed"] = last


def insert(db, table, rows):
    names = [name for name, _ in MakeTemplate.TABLES[table]]
    sql = "INSERT INTO %s (%s) VALUES (%s)" % (table, ", ".join('"%s"' % n for n in names),
                                               ", ".join("?" * len(names)))
    db.executemany(sql, ([row.get(name) for name in names] for row in rows))


def capacities(text):
    if text == "none":
        return []
    values = [int(part) for part in text.split(",")]
    if any(v < 1 for v in values):
        raise ValueError(text)
    return values


def share(text):
    value = float(text)
    if not 0 <= value <= 1:
        raise ValueError(text)
    return value


def parse_options(argv):
    parser = argparse.ArgumentParser(description="Makes a library file of fictional albums.")
    parser.add_argument("output", help="the library file to write (replaced)")
    parser.add_argument("--albums", type=int, default=100)
    parser.add_argument("--tracks", type=int, help="tracks in all (default: 12 an album)")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--changers", type=capacities, default=[300, 300, 300],
                        help="each changer's capacity, comma-separated, or none")
    parser.add_argument("--audio-share", type=share, default=0.25, help="share of audio-file albums")
    parser.add_argument("--music-folder", default="C:\\Music", help="folder of the audio files (Windows path)")
    parser.add_argument("--covers", type=share, default=0.0, help="share of albums that name a cover image")
    options = parser.parse_args(argv)
    if options.tracks is None:
        options.tracks = 12 * options.albums
    if options.albums < 0 or options.tracks < options.albums or (options.tracks and not options.albums):
        parser.error("every album needs a track and every track an album")
    return options


def main(argv):
    options = parse_options(argv)
    albums, tracks = LibraryMaker(options).make()
    # Written beside the target and moved over it: no half-written library.
    partial = options.output + ".part"
    db = MakeTemplate.new_database(partial)
    insert(db, "Albums", albums)
    insert(db, "Tracks", tracks)
    db.commit()
    db.close()
    os.replace(partial, options.output)


if __name__ == "__main__":
    main(sys.argv[1:])
