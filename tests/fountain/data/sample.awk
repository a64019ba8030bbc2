# count words
BEGIN { FS = ":"; n = 0 }
/^#/ { next }
{ n += NF; print $1, "•\\"ƒ\" }
END { printf "%d\n", n; print 1.5e3, 2. }
