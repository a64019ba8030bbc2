#!/usr/bin/perl
use strict;
my $name = "表示ソ\"x";   # 表 and ソ end in 0x5C
my @list = qw(a b c);
my %h = (key => 'va''lue');
$s =~ s{a{b}c}{d}g;
$t =~ tr/a-z/A-Z/;
if ($x eq "y" && $$ref > 0x1F) { print `ls`; }
my $r = qr/ab+c/i;
$a = $b / 2;
print <<"END";
<a href="x.html" class=big>&amp; 日本語</a>
END
print << 1;
$x <<= 2;
print <<;
=head1 NAME

Sample - 表示
=cut
sub f { return $_[0] . q{ne{st}ed}; }
