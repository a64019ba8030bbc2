program Demo; { brace comment }
(* paren
   comment *)
var s: string;
property Count: Integer read FCount write FCount;
begin
  s := 'it''s •\';  // line comment
  s := #13#10 + #$1F;
  x := $FF;
  asm
    mov eax, 1
  end;
end.
