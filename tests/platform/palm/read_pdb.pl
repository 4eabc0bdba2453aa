#!/usr/bin/perl
# SPDX-License-Identifier: GPL-3.0-or-later
# Reads a .pdb with Palm::PDB, an independent reader, and compares it with the expectations
# written beside it. Palm::PDB accepts a few things a handheld would not (no gap, a chained
# record list, unique ID 0 or repeated IDs, an empty name), so those are checked on the raw
# bytes here. Usage: read_pdb.pl FILE.pdb EXPECTED.txt   Exit 0 on agreement, 1 otherwise.
use strict;
use warnings;
use Palm::PDB;
use Palm::Raw;

my ($file, $expectedFile) = @ARGV;
my @problems;
sub problem { push @problems, join('', @_); }

my $pdb = Palm::PDB->new;
eval { $pdb->Load($file) or die "Load returned nothing\n"; 1 }
    or do { print "Palm::PDB could not load $file: $@"; exit 1; };

open(my $in, '<', $expectedFile) or die "cannot open $expectedFile: $!";
my @expectedRecords;
my %header;
while (my $line = <$in>) {
    chomp $line;
    my ($key, @fields) = split / /, $line;
    if ($key eq 'record') {
        push @expectedRecords, \@fields;
    } else {
        $header{$key} = $fields[0] // '';
    }
}
close $in;

problem("name '$pdb->{name}', expected '$header{name}'") if $pdb->{name} ne $header{name};
problem("type '$pdb->{type}', expected '$header{type}'") if $pdb->{type} ne $header{type};
problem("creator '$pdb->{creator}'") if $pdb->{creator} ne $header{creator};
problem("version $pdb->{version}") if $pdb->{version} != $header{version};
my $appinfo = unpack('H*', $pdb->{appinfo} // '');
problem("AppInfo $appinfo, expected $header{appinfo}") if $appinfo ne $header{appinfo};

my @records = @{$pdb->{records}};
problem(scalar(@records) . " records, expected " . scalar(@expectedRecords))
    if @records != @expectedRecords;
for my $i (0 .. $#expectedRecords) {
    last if $i > $#records;
    my ($id, $category, $flags, $hex) = @{$expectedRecords[$i]};
    my $r = $records[$i];
    my $a = $r->{attributes};
    my $gotFlags = join('', $a->{Delete} ? 'D' : '', $a->{Dirty} ? 'M' : '',
                        $a->{Secret} ? 'S' : '', $a->{archive} ? 'A' : '');
    $gotFlags = '-' if $gotFlags eq '';
    problem("record $i: ID $r->{id}, expected $id") if $r->{id} != $id;
    problem("record $i: flags $gotFlags, expected $flags") if $gotFlags ne $flags;
    problem("record $i: busy bit set") if $a->{Busy};
    if ($flags !~ /D/) {
        problem("record $i: category $r->{category}, expected $category")
            if ($r->{category} // -1) != $category;
    }
    my $data = unpack('H*', $r->{data});
    $hex = '' if $hex eq '-';
    problem("record $i: data $data, expected $hex") if $data ne $hex;
}

# What Palm::PDB lets pass.
open(my $raw, '<:raw', $file) or die "cannot open $file: $!";
local $/;
my $bytes = <$raw>;
close $raw;
my $count = unpack('n', substr($bytes, 0x4C, 2));
problem("next record list ID is not 0") if unpack('N', substr($bytes, 0x48, 4)) != 0;
problem("no 00 00 gap after the record list")
    if substr($bytes, 78 + 8 * $count, 2) ne "\0\0";
problem("empty name") if substr($bytes, 0, 1) eq "\0";
my %seen;
for my $i (0 .. $count - 1) {
    my $id = unpack('N', "\0" . substr($bytes, 78 + 8 * $i + 5, 3));
    problem("record $i has unique ID 0") if $id == 0;
    problem("unique ID $id repeated") if $seen{$id}++;
}

if (@problems) {
    print "$_\n" for @problems;
    exit 1;
}
print "Palm::PDB agrees: $header{name}, " . scalar(@records) . " records\n";
exit 0;
