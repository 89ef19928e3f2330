#!/usr/bin/perl
# Writes a compound file with another implementation (OLE::Storage_Lite) for
# the compound-file tests: nested storages, a stream above the mini stream
# cutoff and small streams. The contents must match the test's expectations.
use strict;
use warnings;
use OLE::Storage_Lite;

my $out = shift or die "usage: $0 FILE\n";
sub name { OLE::Storage_Lite::Asc2Ucs($_[0]) }
sub file { OLE::Storage_Lite::PPS::File->new(name($_[0]), $_[1]) }
sub dir { my $n = shift; OLE::Storage_Lite::PPS::Dir->new(name($n), undef, undef, [@_]) }

# Bytes 0, 1, 2, ... 250, 0, 1, ... of the given length.
sub counting { my $n = shift; join('', map { chr($_ % 251) } 0 .. $n - 1) }

my @groups;
for my $g (0 .. 2) {
    push @groups, dir("Group $g",
        file("PatWidth", ($g + 1) . "\0"),
        dir("Tiles",
            file("0.0", counting(5000 + $g)),
            file("0.1", counting(64 * ($g + 1))),
            file("1.0", ""),
            file("1.1", counting(4096))));
}
my $root = OLE::Storage_Lite::PPS::Root->new(undef, undef,
    [file("Version", "1.0\0"), file("Big", counting(100000)), @groups]);
$root->save($out) or die "cannot write $out\n";
