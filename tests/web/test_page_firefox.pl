#!/usr/bin/perl
# The page in Debian's Firefox ESR, headless, driven over Marionette: the Barker code through the
# matched filter shows the desktop's figures, and a bad noise text during a run opens the modal
# box with its message, then the pass's own once it is closed.
#   test_page_firefox.pl PAGE_DIR LAB_FIGURES
use strict;
use warnings;
use utf8;
use File::Temp qw(tempdir);
use Firefox::Marionette;

binmode STDOUT, ':encoding(UTF-8)';
my ($page, $lab_figures) = @ARGV;
my $passes = 5000;
my $failures = 0;
sub check { my ($ok, $what) = @_; print(($ok ? 'ok    ' : 'FAIL  ') . "$what\n"); $failures++ unless $ok; }
sub wait_for { my ($cond) = @_; for (1 .. 200) { return 1 if $cond->(); select(undef, undef, undef, 0.1); } return $cond->(); }

local $ENV{HOME} = tempdir(CLEANUP => 1);
my $ff = Firefox::Marionette->new(visible => 0, width => 1366, height => 768);
$ff->go("file://$page/index.html?passes=$passes");
check(wait_for(sub { $ff->script(q{return document.getElementById('Form1').dataset.ready === 'true'}) }), 'the page starts');
$ff->script(q{document.querySelectorAll('#RadioGroup3 input')[1].click();
              document.querySelectorAll('#RadioGroup2 input')[1].click();
              document.getElementById('Button1').click();});
my $expected = join ' ', split /\n/, `"$lab_figures" $passes`;
my $shown = sub { $ff->script(q{return [...document.querySelectorAll('output')].map(o => o.textContent).join(' ')}) };
wait_for(sub { $shown->() eq $expected });
check($shown->() eq $expected, "the Barker code through the matched filter shows the desktop's figures $expected: " . $shown->());

$ff->script(q{window.labPage.setPassLimit(1e15)});
my $noise = $ff->find_id('Edit2');
$ff->script(q{arguments[0].select()}, args => [$noise]);
$noise->type('x');
my $box = sub { $ff->script(q{const b = document.getElementById('ErrorBox');
                               return b.open ? b.dataset.shown + ' ' + document.getElementById('ErrorBoxText').textContent : ''}) };
check(wait_for(sub { $box->() eq "1 'x' is not a valid floating point value." }), 'a modal box shows the conversion message');
$ff->find_id('ErrorBoxOk')->click();
check(wait_for(sub { $box->() eq "2 'x' is not a valid floating point value." }), 'the next pass reports the same text');
$ff->quit();
print $failures ? "FAILED: $failures failure(s)\n" : "passed\n";
exit($failures ? 1 : 0);
