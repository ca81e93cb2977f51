#!/usr/bin/perl
# Run-length encodes a 4-bit uncompressed BMP (BI_RGB) as BI_RLE4: the same 16 colours, a fraction of the
# bytes for pictures made of areas of one colour. Runs of three or more pixels become one run; other
# pixels go two at a time.
#   rle4.pl IN.bmp OUT.bmp
use strict;
use warnings;

my ($in, $out) = @ARGV;
open(my $fh, '<:raw', $in) or die "rle4: $in: $!\n";
my $bmp = do { local $/; <$fh> };
close $fh;
my ($offset) = unpack('x10 V', $bmp);
my ($width, $height, $bits, $compression) = unpack('x18 l< l< x2 v V', $bmp);
die "rle4: $in is not a bottom-up 4-bit uncompressed bitmap\n" if $bits != 4 || $compression != 0 || $height <= 0;

my $stride = int(($width * 4 + 31) / 32) * 4;
my $data = '';
for my $row (0 .. $height - 1) {
    my @pixels = map { my $b = ord(substr($bmp, $offset + $row * $stride + int($_ / 2), 1));
                       $_ % 2 ? $b & 15 : $b >> 4 } 0 .. $width - 1;
    my $i = 0;
    while ($i < $width) {
        my $run = 1;
        $run++ while $i + $run < $width && $run < 255 && $pixels[$i + $run] == $pixels[$i];
        if ($run >= 3) {
            $data .= pack('C2', $run, $pixels[$i] << 4 | $pixels[$i]);
            $i += $run;
        } elsif ($i + 1 < $width) {
            $data .= pack('C2', 2, $pixels[$i] << 4 | $pixels[$i + 1]);
            $i += 2;
        } else {
            $data .= pack('C2', 1, $pixels[$i] << 4);
            $i += 1;
        }
    }
    $data .= pack('C2', 0, $row == $height - 1 ? 1 : 0);  # end of line, or of the bitmap
}

my $head = substr($bmp, 0, $offset);
substr($head, 2, 4) = pack('V', $offset + length($data));  # file size
substr($head, 30, 4) = pack('V', 2);                        # BI_RLE4
substr($head, 34, 4) = pack('V', length($data));           # image size
open(my $oh, '>:raw', $out) or die "rle4: $out: $!\n";
print $oh $head, $data;
close $oh;
