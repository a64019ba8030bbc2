# Ruby •\Ž¦
class Foo < Bar
  BEGIN_X = 1
  @@count = 0
  def initialize(name)
    @name = name
    $stdout.puts "•\\"s #{name}"
    sym = :key
    re = %r{a/b}i
    s = %Q(x(y)
    t = 'it''s'
  end
  def <=>(o) end
end
x = <<-EOS
  here •\ text
  # comment
  EOS
y = <<EOS
EOS
z = << EOS
=begin
docs
=end
puts $0, $-w, $!
