#!/usr/bin/perl
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes a record database and a resource database with Palm::PDB, an independent writer,
# for pdb_perl_write_check to read with CPalmDatabase. The contents are fixed: the C++ side
# holds the same values, so change both together.
# Usage: write_pdb.pl FOLDER   (writes FOLDER/journal.pdb and FOLDER/app.prc)
use strict;
use warnings;
use Palm::PDB;
use Palm::Raw;

my ($folder) = @ARGV;
die "usage: write_pdb.pl FOLDER\n" unless defined $folder;

# Palm::PDB writes delete-flagged records after all others, so they come last here too and
# the order in the file is the order of this list.
my @records = (
    [0xABC001, 0,  {},                          "head\0\x06"],
    [0xABC002, 1,  {},                          ""],
    [0xFFFFFF, 15, {Secret => 1},               "\xFF" x 16],
    [0x000001, 7,  {Dirty => 1},                pack('C*', map { ($_ * 31 + 7) & 0xFF } 0 .. 69999)],
    [0xABC005, 3,  {Secret => 1, Dirty => 1},   "\x00\x80\x7F"],
    [0xABC006, 2,  {Busy => 1},                 "busy"],
    [0xABC007, 0,  {Delete => 1},               "gone"],
    # Palm::PDB spells delete-with-archive with its old lower-case keys (0x80 | 0x08).
    [0xABC008, 0,  {expunged => 1, archive => 1}, ""],
);

my $pdb = Palm::Raw->new({
    name => "FQW Journal written by Palm-PDB",
    attributes => {ReadOnly => 1, AppInfoDirty => 1, Backup => 1, OKToInstallNewer => 1,
                   Hidden => 1, LaunchableData => 1, Bundle => 1},
    version => 3,
    ctime => 1000000000,
    mtime => 1100000000,
    baktime => 1200000000,
    modnum => 17,
    type => "DATA",
    creator => "FQui",
    uniqueIDseed => 0x00ABC010,
});
$pdb->{appinfo} = "\x00\x01\x02\xFE\xFF";
$pdb->{sort} = "\x05\x04";
for my $r (@records) {
    my ($id, $category, $attributes, $data) = @$r;
    push @{$pdb->{records}},
        {id => $id, category => $category, attributes => $attributes, data => $data};
}
$pdb->Write("$folder/journal.pdb") or die "cannot write $folder/journal.pdb\n";

my $prc = Palm::Raw->new({
    name => "FQW-App",
    attributes => {ResDB => 1, ResetAfterInstall => 1, CopyPrevention => 1, Stream => 1,
                   Recyclable => 1, Open => 1},
    version => 1,
    ctime => 900000000,
    mtime => 950000000,
    baktime => -2082844800, # 0 in the file: never backed up
    modnum => 2,
    type => "appl",
    creator => "FQui",
    uniqueIDseed => 0x00123000,
});
$prc->{resources} = [
    {type => "tAIN", id => 1000,   data => "Fitquill\0"},
    {type => "code", id => 0,      data => ""},
    {type => "code", id => 1,      data => "\x4E\x56\x00\x00\x4E\x75"},
    {type => "tSTR", id => 0xFFFF, data => "\xFF" x 8},
    {type => "DATA", id => 0x8000, data => pack('C*', map { $_ & 0xFF } 0 .. 299)},
];
$prc->Write("$folder/app.prc") or die "cannot write $folder/app.prc\n";
exit 0;
