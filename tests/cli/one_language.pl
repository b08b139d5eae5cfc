#!/usr/bin/perl
# Checks that every line of kxgen's output speaks one language, names and
# paths aside. English: no Chinese character or punctuation. Chinese: no
# English word (three lower-case letters in a row) once options, kxgen's own
# name and the programs it names are taken out.
#   one_language.pl en|zh FILE...    (UTF-8 files)
# KX_MASK holds, one a line, the names and paths to take out first, each with
# whatever follows it up to a blank or a Chinese punctuation mark (a path
# below a masked folder, a file of a masked name); quoted text ("..." in
# English, “...” in Chinese) is a name too. Prints each line
# that speaks the other language; exits 1 when there is one.
use strict;
use warnings;
use utf8;
use Encode qw(decode);

binmode STDOUT, ':encoding(UTF-8)';
my ($language, @files) = @ARGV;
die "usage: one_language.pl en|zh FILE...\n" unless ($language // '') =~ /^(en|zh)$/;
my @masks = sort { length $b <=> length $a } grep { length } split /\n/, decode('UTF-8', $ENV{KX_MASK} // '');

my $bad = 0;
for my $file (@files) {
    open my $in, '<:raw', $file or die "$file: $!\n";
    while (my $raw = <$in>) {
        my $line = decode('UTF-8', $raw, Encode::FB_CROAK);
        chomp $line;
        my $masked = $line;
        $masked =~ s/\Q$_\E[^\s“”，。：；（）、]*/<N>/g for @masks;
        # File names of a project's tree and of the templates.
        $masked =~ s/[\w.<>\$-]*\.(?:kxproj|kxwin|kx|dll|txt|lock|merge)\b/<F>/g;
        # kxgen's record in a project: .kxgen/record.
        $masked =~ s/\.kxgen\/?|\brecord$/<F>/g;
        my $other;
        if ($language eq 'en') {
            $masked =~ s/"[^"]*"/<N>/g;
            $other = $masked =~ /[\p{Han}\x{3000}-\x{303F}\x{FF00}-\x{FFEF}\x{201C}\x{201D}\x{2026}]/;
        } else {
            $masked =~ s/“[^”]*”/<N>/g;
            $masked =~ s/--?[a-z][a-z-]*|kxgen|xdg-open|Windows|wpx\S*|\$ProjectName\$//g;
            $other = $masked =~ /[a-z]{3,}/;
        }
        next unless $other;
        print "$file: $line\n";
        $bad = 1;
    }
}
exit $bad;
