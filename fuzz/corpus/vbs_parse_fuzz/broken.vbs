x = ((((((1 + ) 
If a Then
  y = "unterminated
